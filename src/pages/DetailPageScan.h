#pragma once
// One posting's detail page to its record: the labelled rows below the
// page's form fill the record through the field rules.

#include "pages/JobRecord.h"
#include "pages/StopRequest.h"

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

struct DetailPageScan {
    JobRecord record;              // slots 0-91 but 73-75; 92 and 93 are left empty
    std::string postingSheetQuery; // empty when the page had no form inputs
    // The industry names of the page's industry rows, in page order, as
    // IndustryLookupName gives them: each is looked up in turn and placed
    // with StoreIndustryCategory.
    std::vector<std::string> industryNames;
};

// Reads the page (UTF-8 as the site sends it) row by row in page order. The
// site's message that the posting is gone marks it deleted; a stop request
// ends the reading after the row in hand. Needs nothing but the page.
DetailPageScan ScanDetailPage(std::string_view html, const StopRequested& stopRequested);

} // namespace kenmori
