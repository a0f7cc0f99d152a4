// The worker thread end to end: its own thread, the host served on the test's
// thread through blocking queued calls, stops, failures and the one end report.

#include "site/SiteAccess.h"
#include "run/CsvOutput.h"
#include "run/QueuedRunHost.h"
#include "run/RetrievalWorker.h"
#include "support/RunTestFixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtGlobal>

#include <atomic>
#include <stdexcept>
#include <thread>

static void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "retrievalworker_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

class RetrievalWorkerTest : public RunTestFixture {
protected:
    FakeListSite site;
    std::atomic<RetrievalWorker*> worker = nullptr;

    void SetUp() override
    {
        EnsureApplication();
        RunTestFixture::SetUp();
        SetSiteBaseAddress(site.baseAddress());
    }

    // Runs one worker until its object is gone; false when that took too long.
    bool runWorker()
    {
        QueuedRunHost queuedHost(host);
        QPointer<RetrievalWorker> thread = new RetrievalWorker(conditions, state, queuedHost, pageFile, pacing);
        worker = thread.data();
        QEventLoop loop;
        QObject::connect(thread.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
        bool timedOut = false;
        QTimer::singleShot(30000, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        thread->start();
        loop.exec();
        worker = nullptr;
        return !timedOut && thread.isNull();
    }
};

TEST_F(RetrievalWorkerTest, RunsOnItsOwnThreadAndReportsOnTheHostsThread)
{
    site.totalCount = 3;
    std::ofstream(pageFile) << "left over";
    bool runningAtEnd = true;
    host.onFinished = [&] { runningAtEnd = state.workerRunning; };
    ASSERT_TRUE(runWorker());

    EXPECT_EQ(host.finished, 1);
    EXPECT_FALSE(runningAtEnd);
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 3));
    EXPECT_EQ(state.workerVerdict, kVerdictLineWritten);
    EXPECT_FALSE(std::filesystem::exists(pageFile));
    ASSERT_EQ(host.callThreads.size(), 1u + 3u + 1u);
    for (QThread* thread : host.callThreads)
        EXPECT_EQ(thread, QThread::currentThread());
}

TEST_F(RetrievalWorkerTest, StopDuringTheCountScanFetchesNoPosting)
{
    site.totalCount = 5;
    site.onSearch = [this] { worker.load()->requestInterruption(); };
    // The stop also cuts the pause after the search short.
    pacing.afterSearch = std::chrono::minutes(10);
    ASSERT_TRUE(runWorker());
    EXPECT_EQ(host.finished, 1);
    EXPECT_TRUE(site.detailRequests().empty());
    EXPECT_EQ(host.steps, (std::vector<ProgressStep>{{0, 0, "求人情報 : 0件/0件 取得中..."}}));
    EXPECT_EQ(ReadFileBytes(csvPath), CsvHeaderLine(conditions.outputFields) + "\r\n");
    EXPECT_EQ(state.workerVerdict, kVerdictNothingWritten);
}

TEST_F(RetrievalWorkerTest, StopDuringTheLinkScanKeepsTheLinesSoFar)
{
    site.totalCount = 75;
    host.onStep = [this](int position) {
        if (position == 2)
            worker.load()->requestInterruption();
    };
    ASSERT_TRUE(runWorker());
    EXPECT_EQ(host.finished, 1);
    // The download of the posting in hand is abandoned at the stop, so
    // only the earlier line stays.
    EXPECT_EQ(site.detailRequests().size(), 1u);
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 1));
    EXPECT_TRUE(site.pagerBodies().empty());
    EXPECT_EQ(state.workerVerdict, kVerdictLineWritten);
    EXPECT_FALSE(state.workerRunning);
}

TEST_F(RetrievalWorkerTest, OutputFileThatCannotBeCreatedStillEndsTheRun)
{
    site.totalCount = 3;
    state.outputPath = dir.filePath("missing/out.csv").toStdString();
    std::ofstream(pageFile) << "left over";
    ASSERT_TRUE(runWorker());
    EXPECT_EQ(host.finished, 1);
    EXPECT_TRUE(state.outputFailed);
    EXPECT_TRUE(site.server.requests().empty());
    EXPECT_FALSE(std::filesystem::exists(pageFile));
    EXPECT_FALSE(state.workerRunning);
}

TEST_F(RetrievalWorkerTest, UnexpectedFailureStillEndsTheRunOnce)
{
    site.totalCount = 3;
    host.onStep = [](int position) {
        if (position == 2)
            throw std::runtime_error("host failed");
    };
    ASSERT_TRUE(runWorker());
    EXPECT_EQ(host.finished, 1);
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 1));
    EXPECT_FALSE(state.workerRunning);
    EXPECT_FALSE(std::filesystem::exists(pageFile));
}

TEST(QueuedRunHost, CallsRunOnTheHostThreadAndHandBackAnswersAndFailures)
{
    EnsureApplication();
    struct AnsweringHost : RecordingHost {
        std::string LookupIndustryCategory(const std::string& name) override
        {
            RecordingHost::LookupIndustryCategory(name);
            if (name.empty())
                throw std::runtime_error("no name");
            return "answer for " + name;
        }
    } host;
    QueuedRunHost queuedHost(host);

    // On the host's own thread the call runs at once, without an event loop.
    EXPECT_EQ(queuedHost.LookupIndustryCategory("a"), "answer for a");

    std::string answer;
    bool failed = false;
    QEventLoop loop;
    std::thread other([&] {
        answer = queuedHost.LookupIndustryCategory("b");
        try {
            queuedHost.LookupIndustryCategory("");
        } catch (const std::runtime_error&) {
            failed = true;
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    other.join();
    EXPECT_EQ(answer, "answer for b");
    EXPECT_TRUE(failed);
    ASSERT_EQ(host.callThreads.size(), 3u);
    for (QThread* thread : host.callThreads)
        EXPECT_EQ(thread, QThread::currentThread());
}
