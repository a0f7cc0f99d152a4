#include "run/RetrievalWorker.h"

#include "run/CsvOutput.h"
#include "run/RetrievalLoop.h"
#include "run/RunContext.h"
#include "run/RunHost.h"

#include <system_error>

RetrievalWorker::RetrievalWorker(SearchConditions conditions, RunState& state, RunHost& host,
                                 std::filesystem::path pageFile, RunPacing pacing, StopRequested alsoStop,
                                 QObject* parent)
    : QThread(parent)
    , m_conditions(std::move(conditions))
    , m_state(state)
    , m_host(host)
    , m_pageFile(std::move(pageFile))
    , m_pacing(pacing)
    , m_alsoStop(std::move(alsoStop))
{
    // Deleted from the creator's event loop: a thread object cannot delete
    // itself while its own thread still runs.
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void RetrievalWorker::run()
{
    m_state.workerRunning = true;
    m_state.workerVerdict = kVerdictNothingWritten;
    m_state.outputFailed = false;
    m_state.listPageFailed = false;
    m_state.linesWritten = 0;
    {
        CsvOutputFile csv;
        const StopRequested stopRequested = [this] {
            return isInterruptionRequested() || (m_alsoStop && m_alsoStop());
        };
        const RunContext context{m_conditions, m_state, csv, m_host, m_pacing, stopRequested, m_pageFile, m_log};
        try {
            RunRetrieval(context);
        } catch (...) {
            // An unexpected failure ends the run like any other end: the
            // lines written so far are kept and the host still hears of it.
            if (csv.isOpen() && !csv.close())
                m_state.outputFailed = true;
        }
    }
    std::error_code ignored;
    std::filesystem::remove(m_pageFile, ignored);
    m_state.workerRunning = false;
    try {
        m_host.NotifyRunFinished();
    } catch (...) {
        // Nothing is left to tell; the thread must still end.
    }
}
