#pragma once
// The worker thread of one retrieval run. Created before it starts, started
// once, and deleted on its creator's thread once its body has returned. A
// stop is asked for with requestInterruption().

#include "run/RunRecords.h"
#include "run/RunPacing.h"

#include <QThread>

#include <filesystem>

class RunHost;
class RunLog;

class RetrievalWorker : public QThread {
    Q_OBJECT
public:
    // state and host must outlive the thread; host is called from the worker
    // thread (wrap a host that lives elsewhere in a QueuedRunHost).
    // alsoStop, when given, is polled with the interruption flag: a stop
    // source that cannot reach the thread object, such as a signal flag.
    RetrievalWorker(SearchConditions conditions, RunState& state, RunHost& host, std::filesystem::path pageFile,
                    RunPacing pacing = {}, StopRequested alsoStop = {}, QObject* parent = nullptr);

    // The run's log, which must outlive the thread; none by default.
    void setRunLog(RunLog* log) { m_log = log; }

protected:
    // workerRunning and the verdict, the run, the page file removed, and
    // NotifyRunFinished on every way out, a failure included.
    void run() override;

private:
    const SearchConditions m_conditions;
    RunState& m_state;
    RunHost& m_host;
    const std::filesystem::path m_pageFile;
    const RunPacing m_pacing;
    const StopRequested m_alsoStop;
    RunLog* m_log = nullptr;
};
