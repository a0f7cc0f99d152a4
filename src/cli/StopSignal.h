#pragma once

namespace kenmori {

// Ctrl-C (and a polite kill) asks the run to stop instead of ending the
// process, so the lines written so far are kept and the file is closed.

// Installs the handlers; a second Ctrl-C ends the process at once.
void InstallStopSignalHandlers();

// True once a stop signal arrived.
bool StopSignalled();

// While it lives, the calling thread takes no stop signal, so that the
// kernel hands one to a thread that is at work (the run session's) and the
// run sees it at once rather than when this thread is next scheduled.
class StopSignalsElsewhere {
public:
    StopSignalsElsewhere();
    ~StopSignalsElsewhere();
    StopSignalsElsewhere(const StopSignalsElsewhere&) = delete;
    StopSignalsElsewhere& operator=(const StopSignalsElsewhere&) = delete;
};

} // namespace kenmori
