#pragma once

namespace kenmori {

// Ctrl-C (and a polite kill) asks the run to stop instead of ending the
// process, so the lines written so far are kept and the file is closed.

// Installs the handlers; a second Ctrl-C ends the process at once.
void InstallStopSignalHandlers();

// True once a stop signal arrived.
bool StopSignalled();

} // namespace kenmori
