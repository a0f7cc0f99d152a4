#pragma once
// Hands every call of the worker to a host that lives on another thread: the
// call runs on that thread's event loop and the worker waits until it has
// returned. Called on the host's own thread it runs at once.

#include "run/RunHost.h"

#include <QObject>

#include <functional>

class QueuedRunHost : public RunHost {
public:
    // Create it on the thread that owns target; that thread must run its
    // event loop while a worker calls in. An exception the target throws
    // comes out of the call on the worker's side.
    explicit QueuedRunHost(RunHost& target);

    void ResetProgress(int total) override;
    void StepProgress(int position, int total, const std::string& statusText) override;
    std::string LookupIndustryCategory(const std::string& industryName) override;
    void NotifyRunFinished() override;

private:
    void runOnHostThread(const std::function<void()>& call);

    RunHost& m_target;
    QObject m_anchor; // lives on the host's thread and receives the calls
};
