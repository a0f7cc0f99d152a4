#include "pages/FieldRules.h"

#include "pages/DetailLabels.h"
#include "pages/SlotRules.h"

#include <array>
#include <utility>

static std::array<SlotRule, kDetailLabelCount> BuildRuleTable()
{
    std::array<SlotRule, kDetailLabelCount> rules;
    rules.fill(GeneralRule);
    for (int slot :
         {kSlotCompanyKana, kSlotAddress, kSlotFax, kSlotAgeLimitReason, kSlotNearestStation, kSlotIndustryMajor,
          kSlotIndustryMiddle, kSlotIndustryMinor, kSlotContactPerson, kSlotContactEmail})
        rules[slot] = nullptr;
    for (int slot :
         {kSlotOvertime, kSlotPayRaise, kSlotBonus, kSlotWorkRules, kSlotEmployeeCount, kSlotApplicationDocuments})
        rules[slot] = ListRule;
    rules[kSlotCompanyName] = NameRule;
    rules[kSlotRepresentative] = RepresentativeRule;
    rules[kSlotTelephone] = ContactRule;
    rules[kSlotAge] = AgeRule;
    rules[kSlotTotalWage] = TotalWageRule;
    rules[kSlotHolidays] = HolidayRule;
    rules[kSlotWorkplace] = WorkplaceRule;
    rules[kSlotLicences] = LicenceRule;
    rules[kSlotSelectionPlace] = SelectionPlaceRule;
    return rules;
}

void ApplySlotRule(int slot, const LabelledRow& row, JobRecord& record, std::vector<std::string>& industryNames)
{
    static const std::array<SlotRule, kDetailLabelCount> kRules = BuildRuleTable();
    if (slot < 0 || slot >= kDetailLabelCount)
        return;
    const std::vector<RowLine> lines = RowLines(row);
    if (slot == kSlotIndustryMinor) {
        // An empty name would match every class and give the first one.
        if (std::string name = IndustryNameOf(lines); !name.empty())
            industryNames.push_back(std::move(name));
        return;
    }
    if (const SlotRule rule = kRules[static_cast<size_t>(slot)])
        rule(lines, slot, record);
}
