#include "run/RunSession.h"

#include "reference/IndustryLookup.h"
#include "reference/ReferenceDatabase.h"
#include "run/CsvOutput.h"
#include "run/PostingMemory.h"
#include "run/WorkbookOutput.h"
#include "run/RetrievalLoop.h"
#include "run/RunContext.h"
#include "run/RunHost.h"
#include "run/RunLog.h"
#include "run/RunPacing.h"
#include "site/CurlSession.h"
#include "site/WarmUp.h"
#include "text/CodePage932.h"

#include <cstdio>
#include <memory>
#include <set>
#include <system_error>

namespace kenmori {

namespace {

// What the retrieval loop tells its host becomes the session's signals; the
// industry lookup runs on the session's own database connection.
class SessionHost : public RunHost {
public:
    SessionHost(RunSession& session, ReferenceDatabase& database)
        : m_session(session)
        , m_database(database)
    {
    }

    void resetProgress(int total) override { emit m_session.progressReset(total); }

    void stepProgress(int position, int total, const std::string& statusText) override
    {
        emit m_session.progressStepped(position, total, ShiftJisToQString(statusText));
    }

    std::string lookupIndustryCategory(const std::string& industryName) override
    {
        std::string errorText;
        std::string answer = LookupIndustryCategory(m_database, industryName, errorText);
        if (!errorText.empty() && !m_failureTold) {
            m_failureTold = true;
            emit m_session.notice(ShiftJisToQString(errorText));
        }
        return answer;
    }

private:
    RunSession& m_session;
    ReferenceDatabase& m_database;
    bool m_failureTold = false;
};

// The day a line is written, for the history: "YYYY-MM-DD" (UTC).
std::string Today(const SiteConfig& site)
{
    const std::chrono::year_month_day day(std::chrono::floor<std::chrono::days>(site.now()));
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return text;
}

} // namespace

RunScope ScopeOf(const SearchConditions& conditions, bool resume)
{
    if (resume)
        return RunScope::Resume;
    return conditions.onlyNew ? RunScope::OnlyNew : RunScope::Every;
}

RunSession::RunSession(RunRequest request, QObject* parent)
    : QThread(parent)
    , m_request(std::move(request))
{
    PrepareSiteSession();
}

RunSession::~RunSession()
{
    requestStop();
    wait();
}

bool RunSession::stopRequested() const
{
    return m_stop || isInterruptionRequested() || (m_request.alsoStop && m_request.alsoStop());
}

void RunSession::run()
{
    m_state = RunState{};
    m_state.outputPath = m_request.outputPath;
    SiteConfig site = m_request.site;
    site.pacing = EffectivePacing(site);
    try {
        if (warmUp(site))
            retrieve(site);
    } catch (...) {
        // Nothing may leave the thread; what was written so far is kept.
        m_outcome = stopRequested() ? kResultCancelled : RetrievalOutcome(m_state);
    }
    std::error_code ignored;
    std::filesystem::remove(m_request.pageFile, ignored);
}

bool RunSession::warmUp(const SiteConfig& site)
{
    const StopRequested stop = [this] { return stopRequested(); };
    const WarmUpResult page = FetchSearchPage(site, stop);
    RunLog* const log = m_request.log;
    if (log)
        log->request("GET", SearchPageAddress(site), page.transfer);
    m_outcome = kResultCancelled;
    if (stop())
        return false;
    // Only a page of the site itself carries the site's cookie.
    if (!page.pageArrived || !IsSiteAddress(site, page.finalAddress)) {
        if (log)
            log->line("warm-up: the search page did not arrive");
        m_outcome = kResultSiteUnreachable;
        return false;
    }
    // The output file is replaced only once the search goes out, so a run
    // stopped before leaves an earlier file as it was.
    if (!PauseUnlessStopped(site.pacing.afterWarmUp, stop) || stop())
        return false;
    m_state.siteCookie = Utf8ToShiftJis(page.cookie);
    emit retrievalStarted();
    return true;
}

void RunSession::retrieve(const SiteConfig& site)
{
    // A database connection belongs to the thread that opened it.
    ReferenceDatabase database(PathToQString(m_request.databasePath));
    SessionHost host(*this, database);
    const StopRequested stop = [this] { return stopRequested(); };
    std::unique_ptr<PostingMemory> memory;
    if (!m_request.historyPath.empty()) {
        memory = std::make_unique<PostingMemory>(m_request.historyPath);
        if (!memory->isOpen()) {
            emit notice(QString::fromStdString(memory->problem()));
            if (m_request.log)
                m_request.log->line("history: " + memory->problem());
            memory.reset();
        }
    }
    const std::string search = SearchIdentity(m_request.conditions);
    const std::filesystem::path& output = m_request.outputPath;
    const OutputFormat format = m_request.format;
    const std::filesystem::path lineFile = LineFilePath(output, format);
    std::set<std::string> passOver;
    bool append = false;
    if (m_request.scope == RunScope::OnlyNew && memory) {
        passOver = memory->written(search);
    } else if (m_request.scope == RunScope::Resume) {
        // A line cut off by a kill is dropped, then the file's own lines
        // count as written, should the history not know them.
        std::error_code error;
        append = CutToLastWholeLine(lineFile) && std::filesystem::file_size(lineFile, error) > 0 && !error;
        if (memory)
            passOver = memory->writtenTo(search, output);
        passOver.merge(JobNumbersInCsv(lineFile, m_request.conditions.outputFields));
    }
    if (memory)
        memory->beginRun(search, output);
    const auto journalLock = format == OutputFormat::Workbook ? LockJournal(output) : nullptr;
    m_state.retrieving = true;
    {
        CsvOutputFile csv(LineEncoding(format),
                          format == OutputFormat::Workbook ? JournalPreamble(m_request.conditions)
                                                           : std::string());
        RunContext context{m_request.conditions, m_state,      csv, host, site, stop,
                           m_request.pageFile,   m_request.log};
        if (m_request.scope != RunScope::Every)
            context.passOver = &passOver;
        context.appendOutput = append;
        context.lineFile = lineFile;
        const std::string day = Today(site);
        if (memory)
            context.lineWritten = [&](const std::string& jobNumber) {
                memory->remember(search, jobNumber, output, day);
            };
        try {
            RunRetrieval(context);
        } catch (...) {
            // An unexpected failure ends the run like any other end: the
            // lines written so far are kept.
            if (csv.isOpen() && !csv.close())
                m_state.outputFailed = true;
        }
    }
    m_state.retrieving = false;
    // Whatever ended the run, the workbook holds the lines written so far.
    std::error_code error;
    if (format == OutputFormat::Workbook && std::filesystem::exists(lineFile, error)
        && !WriteWorkbookFromJournal(lineFile, output, site.now()))
        m_state.outputFailed = true;
    m_outcome = stop() ? kResultCancelled : RetrievalOutcome(m_state);
    if (m_outcome == kResultNothingFound && m_state.passedOver > 0)
        m_outcome = kResultNothingNew;
    const bool complete = m_outcome == kResultLinesWritten || m_outcome == kResultNothingFound
        || m_outcome == kResultNothingNew;
    if (memory)
        memory->endRun(search, complete);
    // An interrupted run's journal stays, so that the run can go on.
    if (format == OutputFormat::Workbook && complete)
        std::filesystem::remove(lineFile, error);
}

} // namespace kenmori
