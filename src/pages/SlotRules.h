#pragma once
// The rule families behind ApplySlotRule. Each reads the lines of one
// labelled row (its first line is the one that starts the label's cell) and
// stores trimmed values in record.

#include "pages/JobRecord.h"
#include "pages/LabelledRows.h"

#include <string>
#include <vector>

namespace kenmori {

using LineList = std::vector<RowLine>;
using SlotRule = void (*)(const LineList& lines, int slot, JobRecord& record);

void GeneralRule(const LineList& lines, int slot, JobRecord& record);
void PostalAddressRule(const LineList& lines, int slot, JobRecord& record);
void OccupationRule(const LineList& lines, int slot, JobRecord& record);
void FigureRule(const LineList& lines, int slot, JobRecord& record);
void ChoiceRule(const LineList& lines, int slot, JobRecord& record);
void ListRule(const LineList& lines, int slot, JobRecord& record);
void NameRule(const LineList& lines, int slot, JobRecord& record);
void RepresentativeRule(const LineList& lines, int slot, JobRecord& record);
void ContactRule(const LineList& lines, int slot, JobRecord& record);
void AgeRule(const LineList& lines, int slot, JobRecord& record);
void TotalWageRule(const LineList& lines, int slot, JobRecord& record);
void HolidayRule(const LineList& lines, int slot, JobRecord& record);
void LicenceRule(const LineList& lines, int slot, JobRecord& record);
void WorkplaceRule(const LineList& lines, int slot, JobRecord& record);
void SelectionPlaceRule(const LineList& lines, int slot, JobRecord& record);

// The row's industry name (slot 75's label), read like a general value, as
// the lookup takes it; empty when the row names none.
std::string IndustryNameOf(const LineList& lines);

} // namespace kenmori
