#pragma once
// The pauses that keep the run gentle on the site, and the stop check that
// every loop and pause of the worker honours.

#include <chrono>
#include <functional>

struct RunPacing {
    std::chrono::milliseconds afterWarmUp{1000};
    std::chrono::milliseconds afterSearch{1000};
    std::chrono::milliseconds afterListPage{1000};
    std::chrono::milliseconds afterDetailPage{500};
};

// True once a stop of the run has been asked for.
using StopRequested = std::function<bool()>;

// Sleeps for the pause, waking early when a stop is asked for; true when the
// whole pause ran.
bool PauseUnlessStopped(std::chrono::milliseconds pause, const StopRequested& stopRequested);
