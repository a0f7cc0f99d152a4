#pragma once
// One retrieval run, from the visit to the site's search page to its outcome,
// on a thread of its own. The window and kenmori-cli both drive it: they hand
// it what the run needs, hear of its progress through signals (queued to
// their own thread, so the run never waits for them), and read its outcome
// once the thread has finished.

#include "pages/StopRequest.h"
#include "run/OutputFormat.h"
#include "run/RunOutcome.h"
#include "run/RunRecords.h"
#include "site/SiteConfig.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <filesystem>

namespace kenmori {

class RunLog;

// Which postings a run fetches.
enum class RunScope {
    Every,   // every posting listed
    OnlyNew, // those no earlier run of the search wrote
    Resume,  // those not yet in the output file, appended to it
};

// Going on with an interrupted run comes first; else the conditions say.
RunScope ScopeOf(const SearchConditions& conditions, bool resume);

struct RunRequest {
    SearchConditions conditions;
    std::filesystem::path outputPath;
    std::filesystem::path pageFile;     // the page in hand; removed at the end
    std::filesystem::path databasePath; // reference database, for the industry lookup
    SiteConfig site;
    RunLog* log = nullptr;  // must outlive the session; none by default
    StopRequested alsoStop; // polled beside requestStop(): a signal flag, say
    // What earlier runs wrote; none without a file.
    std::filesystem::path historyPath = {};
    RunScope scope = RunScope::Every;
    OutputFormat format = OutputFormat::ShiftJisCsv;
};

class RunSession : public QThread {
    Q_OBJECT
public:
    explicit RunSession(RunRequest request, QObject* parent = nullptr);
    // Asks the run to stop and waits for its thread: a run never waits for
    // its owner, so this ends within a second or so.
    ~RunSession() override;

    // From any thread, also before the thread runs.
    void requestStop() { m_stop = true; }
    bool stopRequested() const;

    // Read once the thread has finished.
    RunResult outcome() const { return m_outcome; }
    const RunState& state() const { return m_state; }

signals:
    // The site's page arrived and its pause ran: the search follows, and a
    // stop from now on ends a search under way.
    void retrievalStarted();
    void progressReset(int total);
    void progressStepped(int position, int total, const QString& statusText);
    // Something the user should hear of while the run goes on: the reference
    // database failed (said once; the industry fields stay empty), or the
    // history cannot be used (the run goes on without it).
    void notice(const QString& message);

protected:
    void run() override;

private:
    bool warmUp(const SiteConfig& site);
    void retrieve(const SiteConfig& site);

    const RunRequest m_request;
    std::atomic<bool> m_stop = false;
    RunState m_state;
    RunResult m_outcome = kResultCancelled;
};

} // namespace kenmori
