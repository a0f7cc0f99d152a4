#pragma once
// One posting's detail page to one CSV line.

#include "run/CsvOutput.h"
#include "pages/JobRecord.h"
#include "run/RunContext.h"

#include <string>

namespace kenmori {

// Downloads the page into the run's page file, waits the detail-page pause,
// and reads it into a record: slots 0-91 from the page, 92 the posting-sheet
// address when the page had a form, 93 url as given.
JobRecord ReadJobDetail(const RunContext& run, const std::string& url);

// Reads the posting and writes its line. A page without a job number is
// fetched once more when the run's detailRetried is still clear (it is set
// then); never after a stop. Gives what became of the last line written.
JobLineOutcome ExtractJobDetail(const RunContext& run, const std::string& url);

} // namespace kenmori
