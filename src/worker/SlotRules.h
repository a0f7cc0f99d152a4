#pragma once
// The rule families behind ApplySlotRule. Each reads the page from the label
// line k and stores trimmed values in record.

#include "worker/JobRecord.h"
#include "worker/WindowScan.h"

#include <string_view>

using SlotRule = void (*)(const RuleInput& in, int k, int slot, JobRecord& record);

// Slots the rules fill besides their own.
inline constexpr int kSlotCompanyKana = 4;
inline constexpr int kSlotPostalCode = 7;
inline constexpr int kSlotAddress = 8;
inline constexpr int kSlotTelephone = 9;
inline constexpr int kSlotFax = 10;
inline constexpr int kSlotAge = 21;
inline constexpr int kSlotAgeLimitReason = 22;
inline constexpr int kSlotHolidays = 37;
inline constexpr int kSlotTwoDayWeekend = 38;
inline constexpr int kSlotWorkplace = 47;
inline constexpr int kSlotNearestStation = 48;
inline constexpr int kSlotIndustryMajor = 73;
inline constexpr int kSlotIndustryMiddle = 74;
inline constexpr int kSlotIndustryMinor = 75;
inline constexpr int kSlotContactPerson = 86;
inline constexpr int kSlotContactEmail = 87;

void GeneralRule(const RuleInput& in, int k, int slot, JobRecord& record);
void ListRule(const RuleInput& in, int k, int slot, JobRecord& record);
void NameRule(const RuleInput& in, int k, int slot, JobRecord& record);
void RepresentativeRule(const RuleInput& in, int k, int slot, JobRecord& record);
void ContactRule(const RuleInput& in, int k, int slot, JobRecord& record);
void AgeRule(const RuleInput& in, int k, int slot, JobRecord& record);
void TotalWageRule(const RuleInput& in, int k, int slot, JobRecord& record);
void HolidayRule(const RuleInput& in, int k, int slot, JobRecord& record);
void LicenceRule(const RuleInput& in, int k, int slot, JobRecord& record);
void WorkplaceRule(const RuleInput& in, int k, int slot, JobRecord& record);
void SelectionPlaceRule(const RuleInput& in, int k, int slot, JobRecord& record);

// Slots 73-75 from the industry text the general rule read for slot 75.
void IndustryRule(const RuleInput& in, std::string_view industryText, JobRecord& record);
