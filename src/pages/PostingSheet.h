#pragma once
// The address of a posting's printable posting sheet.

#include <string>
#include <string_view>

namespace kenmori {

// The sheet's address under the site's base address, from the query that
// the detail page's form gives (ReadDetailPageParts).
std::string PostingSheetUrl(std::string_view baseAddress, std::string_view query);

} // namespace kenmori
