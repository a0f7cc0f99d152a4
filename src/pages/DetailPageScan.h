#pragma once
// One pass over a downloaded detail page: label rows below the page's form
// fill the record through the field rules.

#include "pages/JobRecord.h"
#include "pages/PageLines.h"
#include "pages/StopRequest.h"

#include <string>
#include <vector>

struct DetailPageScan {
    JobRecord record;              // slots 0-91 but 73-75; 92 and 93 are left empty
    std::string postingSheetQuery; // empty when the page had no form inputs
    // The industry names of the page's industry rows, in page order, as
    // IndustryLookupName gives them: each is looked up in turn and placed
    // with StoreIndustryCategory.
    std::vector<std::string> industryNames;
};

// Reads the page top to bottom. A "msg_E" paragraph saying "該当する情報は"
// marks a deleted posting and ends the scan; so does the "kyujin_head" row
// and a stop request (checked after every line). Needs nothing but the page.
DetailPageScan ScanDetailPage(const PageLines& lines, const StopRequested& stopRequested);
