// A run session end to end without any window or command line: its own
// thread, the visit to the search page, progress as queued signals, stops,
// failures, and the outcome read once its thread has ended.

#include "run/CsvOutput.h"
#include "run/RunLog.h"
#include "run/RunSession.h"
#include "run/ConditionChoices.h"
#include "run/OutputFormat.h"
#include "support/OutputFormsTestSupport.h"
#include "support/ReferenceTestSupport.h"
#include "support/RunTestFixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>

using namespace kenmori;

class RunSessionTest : public RunTestFixture {
protected:
    FakeListSite site;
    std::filesystem::path databasePath = BuiltDatabase().toStdString();
    std::vector<ProgressStep> steps; // as the owner's thread heard them
    std::vector<QString> notices;
    std::atomic<RunSession*> current = nullptr; // for stops from the site's threads
    int retrievalStarts = 0;
    RunState endState;
    OutputFormat format = OutputFormat::ShiftJisCsv;

    void SetUp() override
    {
        EnsureCoreApplication();
        RunTestFixture::SetUp();
        siteConfig.baseAddress = site.baseAddress();
    }

    // Runs one session until its thread has ended; its outcome, or nothing
    // when that took too long.
    std::optional<RunResult> runSession()
    {
        RunSession session(RunRequest{
            conditions, csvPath, pageFile, databasePath, siteConfig, nullptr, {}, {}, RunScope::Every, format});
        QObject::connect(&session, &RunSession::progressStepped, &session,
                         [&](int position, int total, const QString& text) {
                             EXPECT_EQ(QThread::currentThread(), qApp->thread());
                             steps.push_back({position, total, text.toStdString()});
                         });
        QObject::connect(&session, &RunSession::notice, &session,
                         [&](const QString& message) { notices.push_back(message); });
        QObject::connect(&session, &RunSession::retrievalStarted, &session, [&] { ++retrievalStarts; });
        current = &session;
        QEventLoop loop;
        QObject::connect(&session, &QThread::finished, &loop, &QEventLoop::quit);
        bool timedOut = false;
        QTimer::singleShot(30000, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        session.start();
        loop.exec();
        if (timedOut)
            return std::nullopt;
        session.wait();
        current = nullptr;
        endState = session.state();
        return session.outcome();
    }
};

TEST_F(RunSessionTest, WarmsUpRetrievesAndReportsOnTheOwnersThread)
{
    site.totalCount = 3;
    std::ofstream(pageFile) << "left over";
    EXPECT_EQ(runSession(), kResultLinesWritten);
    EXPECT_EQ(retrievalStarts, 1);
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 3));
    EXPECT_EQ(endState.verdict, kVerdictLineWritten);
    EXPECT_FALSE(endState.retrieving);
    EXPECT_FALSE(std::filesystem::exists(pageFile));
    EXPECT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps.back(), (ProgressStep{3, 3, "求人情報 : 3件/3件 取得中..."}));
    // The first request is the visit to the search page.
    const auto requests = site.server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0].target, "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010");
}

TEST_F(RunSessionTest, StopsAtTheSearchOrAtAPostingKeepingTheLinesSoFar)
{
    // A stop as the search arrives: no posting is fetched...
    site.totalCount = 5;
    site.onSearch = [this] { current.load()->requestStop(); };
    siteConfig.pacing.afterSearch = std::chrono::minutes(10); // cut short by the stop
    EXPECT_EQ(runSession(), kResultCancelled);
    EXPECT_EQ(retrievalStarts, 1);
    EXPECT_TRUE(site.detailRequests().empty());
    EXPECT_TRUE(CsvDataLines(csvPath).empty());

    // ...and at the second posting, the first one's line stays and no
    // further page is asked for.
    site.onSearch = nullptr;
    siteConfig.pacing = NoPauses();
    site.totalCount = 75;
    int details = 0;
    site.onDetail = [&] {
        if (++details == 2)
            current.load()->requestStop();
    };
    EXPECT_EQ(runSession(), kResultCancelled);
    EXPECT_EQ(site.detailRequests().size(), 2u);
    const std::vector<std::string> lines = CsvDataLines(csvPath);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines, QuotedJobNumbers(1, static_cast<int>(lines.size())));
    EXPECT_LE(lines.size(), 2u);
    EXPECT_TRUE(site.pagerBodies().empty());
}

TEST_F(RunSessionTest, UnreachableSiteAndUnwritableFileEndTheRunWithTheirOutcome)
{
    {
        LocalHttpServer gone;
        siteConfig.baseAddress = gone.baseAddress();
    }
    EXPECT_EQ(runSession(), kResultSiteUnreachable);
    EXPECT_EQ(retrievalStarts, 0);
    EXPECT_FALSE(std::filesystem::exists(csvPath));

    siteConfig.baseAddress = site.baseAddress();
    site.totalCount = 3;
    csvPath = dir.filePath("missing/out.csv").toStdString();
    std::ofstream(pageFile) << "left over";
    EXPECT_EQ(runSession(), kResultOutputFailed);
    EXPECT_TRUE(endState.outputFailed);
    EXPECT_TRUE(site.detailRequests().empty());
    EXPECT_FALSE(std::filesystem::exists(pageFile));
}

TEST_F(RunSessionTest, AFailingDatabaseIsToldOnceAndTheRunGoesOn)
{
    site.totalCount = 3;
    conditions.outputFields.fill(true);
    databasePath = dir.filePath("none.db").toStdString();
    EXPECT_EQ(runSession(), kResultLinesWritten);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(CsvDataLines(csvPath).size(), 3u);
}

TEST_F(RunSessionTest, AStoppedWorkbookHoldsExactlyTheLinesWrittenAndKeepsItsJournal)
{
    format = OutputFormat::Workbook;
    csvPath = dir.filePath("list.xlsx").toStdString();
    conditions.prefecture1 = 13;
    conditions.outputFields.fill(true);
    site.totalCount = 75;
    int details = 0;
    site.onDetail = [&] {
        if (++details == 3)
            current.load()->requestStop();
    };
    EXPECT_EQ(runSession(), kResultCancelled);
    WorkbookReading book = ReadWorkbook(csvPath);
    ASSERT_TRUE(book.opened);
    EXPECT_EQ(book.about.value(0), QString::fromUtf8(PrefectureNames()[12])); // the search names the sheet
    EXPECT_EQ(std::count(book.csv.begin(), book.csv.end(), '\n'), endState.linesWritten + 1);
    EXPECT_GE(endState.linesWritten, 2);
    // The rows so far stay at hand, so that the run can go on.
    EXPECT_TRUE(std::filesystem::exists(JournalPath(csvPath)));

    site.onDetail = nullptr;
    site.totalCount = 3;
    EXPECT_EQ(runSession(), kResultLinesWritten);
    book = ReadWorkbook(csvPath);
    EXPECT_EQ(std::count(book.csv.begin(), book.csv.end(), '\n'), 4);
    EXPECT_FALSE(std::filesystem::exists(JournalPath(csvPath)));
}
