#pragma once
// Everything one step of a run needs while it lasts, handed around as
// one value so the steps stay plain functions.

#include "run/RunRecords.h"
#include "run/CsvOutput.h"
#include "run/RunHost.h"
#include "run/RunPacing.h"
#include "run/RunLog.h"

#include <filesystem>
#include <functional>
#include <set>
#include <string>

namespace kenmori {

struct RunContext {
    const SearchConditions& conditions;
    RunState& state;
    CsvOutputFile& csv;
    RunHost& host;
    const SiteConfig& site; // its pacing already the effective one
    StopRequested stopRequested;
    std::filesystem::path pageFile; // db/tmp.dat in the product
    RunLog* log = nullptr;          // none in most tests
    // Job numbers to pass over without fetching them (an earlier run wrote
    // them); none in a run that fetches every posting.
    const std::set<std::string>* passOver = nullptr;
    // Told the job number of every line written; none in most tests.
    std::function<void(const std::string& jobNumber)> lineWritten = {};
    // The output file holds lines of an interrupted run: append, no header.
    bool appendOutput = false;
    // Where the lines go when not to the output file itself (a workbook's
    // journal).
    std::filesystem::path lineFile = {};

    bool stopAsked() const { return stopRequested && stopRequested(); }
};

} // namespace kenmori
