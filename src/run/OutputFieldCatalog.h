#pragma once
// The fixed, ordered list of output fields. The window's check list, the CSV
// header and the slots of a JobRecord all follow this order.

#include "pages/OutputSlots.h"

#include <array>
#include <string>
#include <vector>

namespace kenmori {

// One tick per catalog field, in catalog order.
using OutputFieldChecks = std::array<bool, kOutputFieldCount>;

// Field names as code page 932 text.
const std::vector<std::string>& OutputFieldCatalog();

// Field names as UTF-8 (for the window and the terminal).
const std::array<const char*, kOutputFieldCount>& OutputFieldNamesUtf8();

} // namespace kenmori
