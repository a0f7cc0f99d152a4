#include "run/QueuedRunHost.h"

#include <QMetaObject>
#include <QThread>

#include <exception>

QueuedRunHost::QueuedRunHost(RunHost& target)
    : m_target(target)
{
}

void QueuedRunHost::runOnHostThread(const std::function<void()>& call)
{
    if (QThread::currentThread() == m_anchor.thread()) {
        call();
        return;
    }
    // An exception must not unwind through the host's event loop.
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        &m_anchor,
        [&call, &failure] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure)
        std::rethrow_exception(failure);
}

void QueuedRunHost::ResetProgress(int total)
{
    runOnHostThread([&] { m_target.ResetProgress(total); });
}

void QueuedRunHost::StepProgress(int position, int total, const std::string& statusText)
{
    runOnHostThread([&] { m_target.StepProgress(position, total, statusText); });
}

std::string QueuedRunHost::LookupIndustryCategory(const std::string& industryName)
{
    std::string answer;
    runOnHostThread([&] { answer = m_target.LookupIndustryCategory(industryName); });
    return answer;
}

void QueuedRunHost::NotifyRunFinished()
{
    runOnHostThread([&] { m_target.NotifyRunFinished(); });
}
