#pragma once
// The fixed, ordered list of output fields. The window's check list, the CSV
// header and the slots of a JobRecord all follow this order.

#include <array>
#include <string>
#include <vector>

inline constexpr int kOutputFieldCount = 94;

// One tick per catalog field, in catalog order.
using OutputFieldChecks = std::array<bool, kOutputFieldCount>;

// Field names as code page 932 text.
const std::vector<std::string>& OutputFieldCatalog();

// Field names as UTF-8 (for the window and the terminal).
const std::array<const char*, kOutputFieldCount>& OutputFieldNamesUtf8();

// Slots the extraction and the writer refer to by meaning.
inline constexpr int kSlotJobNumber = 0;
inline constexpr int kSlotCompanyName = 3;
inline constexpr int kSlotPostingSheetUrl = 92;
inline constexpr int kSlotPageUrl = 93;
