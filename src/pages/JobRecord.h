#pragma once
// One posting as extracted from its detail page: slot i is written under
// catalog field i. Texts are code page 932.

#include "pages/OutputSlots.h"

#include <array>
#include <string>
#include <string_view>

namespace kenmori {

using JobRecord = std::array<std::string, kOutputFieldCount>;

// What the company-name slot holds when the page withholds the name (UTF-8):
// the reader writes it, the company-name filter of the output drops it.
inline constexpr std::string_view kCompanyNameWithheld = "（事業所名非公開）";

} // namespace kenmori
