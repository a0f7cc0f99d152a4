#pragma once
// The pause that every step of a run takes, and the stop check that every
// loop and pause of the run honours.

#include "pages/StopRequest.h"
#include "site/SiteConfig.h"

#include <chrono>

namespace kenmori {

// Sleeps for the pause, waking early when a stop is asked for; true when the
// whole pause ran.
bool PauseUnlessStopped(std::chrono::milliseconds pause, const StopRequested& stopRequested);

} // namespace kenmori
