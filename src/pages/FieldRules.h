#pragma once
// The rules that cut a slot's value out of its labelled row of the detail
// page, as OutputSlotTable chooses them per slot.

#include "pages/JobRecord.h"
#include "pages/LabelledRows.h"

#include <string>
#include <vector>

namespace kenmori {

// Applies the rule that OutputSlotTable gives slot to the row. Some rules
// also fill other slots (slot 3 fills 4, 7 fills 8, 9 fills 10, 86 and 87,
// 21 fills 22, 37 fills 38, 47 fills 48); slots without a rule, and slots out
// of range, do nothing. Slot 75 fills no slot: its row's industry name, when
// it has one, is added to industryNames for the run to look up (slots 73-75).
void ApplySlotRule(int slot, const LabelledRow& row, JobRecord& record, std::vector<std::string>& industryNames);

} // namespace kenmori
