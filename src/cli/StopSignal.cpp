#include "StopSignal.h"

#include <atomic>
#include <csignal>

namespace kenmori {

static std::atomic<bool> stopSignalled = false;

static void OnStopSignal(int)
{
    stopSignalled = true;
}

void InstallStopSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // The default comes back after the first signal: a second one ends the
    // process even if the run hangs.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopSignalled()
{
    return stopSignalled;
}

} // namespace kenmori
