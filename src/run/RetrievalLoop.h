#pragma once
// One retrieval run on the run session's thread: the search, the hit count, and
// every posting of every result page from the start position on.

#include "run/RunContext.h"

#include <string>

namespace kenmori {

// "求人情報 : 3件/57件 取得中..." as code page 932; "抽出中..." instead of
// "取得中..." when only postings that show the company name are kept.
std::string StatusText(int startedCount, int totalCount, bool companyNamesOnly, int passedOver = 0);

// Creates the output file with its header line, retrieves the list and
// closes the file. When the file cannot be created or written the run ends
// there with outputFailed set.
void RunRetrieval(const RunContext& run);

// Posts the search, reads the hit count, and fetches each listed posting page
// after page until totalCount postings were started, a page brings no new
// posting, or a stop is asked for. startedCount begins at the start position
// (conditions.startPosition, rounded down to a whole page).
void RetrieveJobList(const RunContext& run);

} // namespace kenmori
