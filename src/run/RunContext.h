#pragma once
// Everything one step of a run needs while it lasts, handed around as
// one value so the steps stay plain functions.

#include "run/RunRecords.h"
#include "run/CsvOutput.h"
#include "run/RunHost.h"
#include "run/RunPacing.h"
#include "run/RunLog.h"

#include <filesystem>

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

    bool stopAsked() const { return stopRequested && stopRequested(); }
};

} // namespace kenmori
