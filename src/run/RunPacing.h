#pragma once
// The pauses that keep the run gentle on the site, and the stop check that
// every loop and pause of the worker honours.

#include "pages/StopRequest.h"

#include <chrono>

struct RunPacing {
    std::chrono::milliseconds afterWarmUp{1000};
    std::chrono::milliseconds afterSearch{1000};
    std::chrono::milliseconds afterListPage{1000};
    std::chrono::milliseconds afterDetailPage{500};
};

// Sleeps for the pause, waking early when a stop is asked for; true when the
// whole pause ran.
bool PauseUnlessStopped(std::chrono::milliseconds pause, const StopRequested& stopRequested);
