#pragma once
// Which record slot a label row of the detail page fills, by the labels and
// aliases of OutputSlotTable.

#include <string>
#include <string_view>

namespace kenmori {

// The label (code page 932) of the row that fills slot; empty when no row of
// the page does (the rule of another slot, or the run, fills it) and for a
// slot out of range.
const std::string& SlotLabel(int slot);

// The slot whose label equals label, letters (full-width ones too) compared
// without case and full-width forms kept apart from half-width ones; -1 when
// none does.
int FindLabelSlot(std::string_view label);

// The name under which the site's other spellings of a label are filed
// ("代表者名" is "役職／代表者名"); any other label unchanged.
std::string AliasedLabel(std::string label);

} // namespace kenmori
