#pragma once
// The pages of the demonstration site other than the detail pages, in the
// markup that the product reads (UTF-8, one element a line).

#include "DemoPosting.h"

#include <string>
#include <string_view>
#include <vector>

inline constexpr int kDemoPostingsPerPage = 30;
inline constexpr int kDemoPagerNaviCount = 7;

// The search screen (answer to the warm-up visit); a browser can use it.
std::string SearchPage();

// Page `page` (from 1) of a result list of hits; a page past the end shows
// the count but no postings.
std::string ResultListPage(const std::vector<const DemoPosting*>& hits, int page);

// A result-list page carrying only a message paragraph of the given class
// ("msg_E" error box, "msg_I" notice).
std::string ListMessagePage(std::string_view messageClass, std::string_view text);

// The detail page of a posting that no longer exists.
std::string DeletedPostingPage();

// The answer of an overloaded site: no posting in it.
std::string BusyPage();

// The printable posting sheet (a stand-in).
std::string PostingSheetPage(const DemoPosting* posting);

std::string NotFoundPage();
