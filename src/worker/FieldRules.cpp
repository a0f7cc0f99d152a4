#include "worker/FieldRules.h"

#include "worker/DetailLabels.h"
#include "worker/SlotRules.h"

#include <array>

static std::array<SlotRule, kDetailLabelCount> BuildRuleTable()
{
    std::array<SlotRule, kDetailLabelCount> rules;
    rules.fill(GeneralRule);
    for (int slot : {kSlotCompanyKana, kSlotAddress, kSlotFax, kSlotAgeLimitReason,
                     kSlotNearestStation, kSlotIndustryMajor, kSlotIndustryMiddle,
                     kSlotContactPerson, kSlotContactEmail})
        rules[slot] = nullptr;
    for (int slot : {25, 35, 36, 40, 50, 80})
        rules[slot] = ListRule;
    rules[3] = NameRule;
    rules[5] = RepresentativeRule;
    rules[kSlotTelephone] = ContactRule;
    rules[kSlotAge] = AgeRule;
    rules[31] = TotalWageRule;
    rules[kSlotHolidays] = HolidayRule;
    rules[kSlotWorkplace] = WorkplaceRule;
    rules[65] = LicenceRule;
    rules[83] = SelectionPlaceRule;
    return rules;
}

void ApplySlotRule(int slot, int k, const RuleInput& in, JobRecord& record)
{
    static const std::array<SlotRule, kDetailLabelCount> rules = BuildRuleTable();
    if (slot < 0 || slot >= kDetailLabelCount)
        return;
    if (const SlotRule rule = rules[static_cast<size_t>(slot)])
        rule(in, k, slot, record);
}
