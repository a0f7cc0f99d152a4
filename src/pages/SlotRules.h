#pragma once
// The rule families behind ApplySlotRule. Each reads the page from the label
// line k and stores trimmed values in record.

#include "pages/JobRecord.h"
#include "pages/WindowScan.h"

#include <string>

using SlotRule = void (*)(const RuleInput& in, int k, int slot, JobRecord& record);

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

// The industry name of the row at k (slot 75's label), read like a general
// value, as the lookup takes it; empty when the row names none.
std::string IndustryNameAt(const RuleInput& in, int k);
