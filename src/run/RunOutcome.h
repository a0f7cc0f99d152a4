#pragma once
// How a run ended and what is said about it: one entry per outcome, read by
// the window for its closing box and by kenmori-cli for its message and exit
// status, so that both tell the same outcome the same way.

#include "run/RunRecords.h"

#include <string_view>

namespace kenmori {

// The outcome of a run, as the window keeps it while the run goes on.
enum RunResult {
    kResultLinesWritten = 0, // also the value while a run is going
    kResultNothingFound = 1,
    kResultCancelled = 2,
    kResultOutputFailed = 3, // the CSV file could not be created or written
    kResultListFailed = 4,   // a result-list page failed twice: ended incomplete
    kResultClosing = 5,      // closing confirmed during a run
    kResultClosingStopped = 6,
    kResultUnknownJobSeeker = 8,
    kResultSiteUnreachable = 9,
    kResultNothingNew = 10, // only new postings asked for, and every one listed was known
};

enum CliExitStatus {
    kExitLinesWritten = 0,
    kExitNothingFound = 1,
    kExitStopped = 2,
    kExitInvalidConditions = 3,
    kExitOutputFailed = 4,
    kExitIncomplete = 5, // a result-list page failed: the lines so far are kept
    kExitUnknownJobSeeker = 8,
    kExitSiteUnreachable = 9,
};

// The box the window shows at the end of a run.
enum class OutcomeBox {
    None,     // no box: the user stopped or closed
    Notice,   // a message with OK
    Question, // the message with the offer to open the file
};

struct RunOutcomeText {
    std::string_view message; // UTF-8, line breaks as the box shows them; empty when none
    std::string_view title;
    OutcomeBox box = OutcomeBox::None;
    CliExitStatus exitStatus = kExitStopped;
    std::string_view logName; // after "outcome: " in the run log
};

const RunOutcomeText& OutcomeText(int result);

// The outcome of a run whose retrieval ended by itself, from what it left in
// state: a failed output file or list page ends the run whatever the verdict.
RunResult RetrievalOutcome(const RunState& state);

} // namespace kenmori
