#pragma once
// One posting as extracted from its detail page: slot i is written under
// catalog field i. Texts are code page 932.

#include "pages/OutputSlots.h"

#include <array>
#include <string>

using JobRecord = std::array<std::string, kOutputFieldCount>;
