#pragma once
// Every output field once, in catalog order: its name, the label of the
// detail page's row that fills it with the site's other spellings of that
// label, and the rule that cuts the value out of the row. The catalog, the
// label lookup and the rules all read this table.

#include "pages/OutputSlots.h"
#include "pages/SlotRules.h"

#include <array>

namespace kenmori {

struct OutputSlotRow {
    int slot;                           // the kSlot constant; the row's index in the table
    const char* name;                   // catalog name (UTF-8)
    const char* label;                  // the page's label (UTF-8); nullptr when no row of the page fills the slot
    std::array<const char*, 2> aliases; // other spellings of label, compared exactly; nullptr for none
    SlotRule rule;                      // nullptr when the rule of another slot, or the run, fills it
};

const std::array<OutputSlotRow, kOutputFieldCount>& OutputSlotTable();

} // namespace kenmori
