#pragma once
// The body of the site's search-form submission, built from the conditions.

#include "run/RunRecords.h"

#include <string>
#include <string_view>

namespace kenmori {

// Form-encodes a code page 932 text as the site's form does: converted to
// UTF-8, letters, digits and !$'()*-._@ kept, the ASCII space as "+",
// every other byte as %XX.
std::string EncodeFormValue(std::string_view sjisText);

// "&name=value" fields in the site's order; never fails.
std::string BuildSearchRequestBody(const SearchConditions& conditions);

} // namespace kenmori
