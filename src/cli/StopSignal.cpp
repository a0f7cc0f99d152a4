#include "StopSignal.h"

#include <atomic>
#include <csignal>
#include <pthread.h>

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

static sigset_t StopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

StopSignalsElsewhere::StopSignalsElsewhere()
{
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

StopSignalsElsewhere::~StopSignalsElsewhere()
{
    // One that arrived meanwhile and found no other thread comes now.
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
}

} // namespace kenmori
