#pragma once
// The address of a posting's printable posting sheet, rebuilt from the
// hidden inputs of the detail page's form.

#include "pages/PageText.h"
#include "pages/StopRequest.h"

#include <string>
#include <string_view>

// The query ("&name=value&...") from the inputs around line k, the line that
// holds "ID_kjhyoKjKbn": from the line before it to the end of the form, at
// most 30 lines. "&#x2b;" in a value is sent as "%2B". Empty when no input
// gave a pair or a stop was asked for at once.
std::string PostingSheetQueryAt(const PageText& lines, int k, const StopRequested& stopRequested);

// The sheet's address under the site's base address.
std::string PostingSheetUrl(std::string_view baseAddress, std::string_view query);
