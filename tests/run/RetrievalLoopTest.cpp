// The retrieval loop against a small local site: search, count, every
// result page, start position, and the ways a run ends early.

#include "site/SiteAccess.h"
#include "run/RetrievalLoop.h"
#include "run/RunLog.h"
#include "run/SearchRequest.h"
#include "support/RunTestFixture.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtGlobal>

using namespace kenmori;

static std::string PagerBody(int nowPage, int wantedPage, int naviCount = FakeListSite::kNaviCount)
{
    return "&screenId=GECA110010&fwListNowPage=" + std::to_string(nowPage)
        + "&fwListLeftPage=" + std::to_string(wantedPage) + "&fwListNaviCount=" + std::to_string(naviCount)
        + "&fwListNaviBtn1=" + std::to_string(wantedPage);
}

class RetrievalLoopTest : public RunTestFixture {
protected:
    FakeListSite site;

    void SetUp() override
    {
        RunTestFixture::SetUp();
        siteConfig.baseAddress = site.baseAddress();
    }

    void Run()
    {
        state.verdict = kVerdictNothingWritten;
        state.outputFailed = false;
        RunRetrieval(RunContext{conditions, state, csv, host, siteConfig, {}, pageFile});
    }

    std::string header() const { return ShiftJisToUtf8(CsvHeaderLine(conditions.outputFields)); }
};

TEST_F(RetrievalLoopTest, ZeroHitsShowTheCountsOnceAndFetchNothing)
{
    for (const bool showCount : {true, false}) {
        SCOPED_TRACE(showCount);
        site.server.clearRequests();
        host = RecordingHost();
        site.showCount = showCount;
        Run();
        EXPECT_EQ(host.resets, std::vector<int>{0});
        EXPECT_EQ(host.steps, (std::vector<ProgressStep>{{0, 0, "求人情報 : 0件/0件 取得中..."}}));
        const auto requests = site.server.requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].path, "/kensaku/GECA110030.do");
        EXPECT_EQ(requests[0].body, BuildSearchRequestBody(conditions));
        EXPECT_EQ(ReadFileBytes(csvPath), CsvHeaderLine(conditions.outputFields) + "\r\n");
        EXPECT_EQ(state.verdict, kVerdictNothingWritten);
        EXPECT_FALSE(state.outputFailed);
    }
}

TEST_F(RetrievalLoopTest, OnePageFetchesEachPostingInPageOrderUpToTheCount)
{
    site.totalCount = 3;
    site.postingCount = 30; // more links than the count
    Run();
    EXPECT_EQ(site.detailRequests(),
              (std::vector<std::string>{FakeListSite::jobNumber(1), FakeListSite::jobNumber(2),
                                        FakeListSite::jobNumber(3)}));
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 3));
    EXPECT_EQ(host.resets, std::vector<int>{3});
    EXPECT_EQ(host.steps,
              (std::vector<ProgressStep>{{1, 3, "求人情報 : 1件/3件 取得中..."},
                                         {2, 3, "求人情報 : 2件/3件 取得中..."},
                                         {3, 3, "求人情報 : 3件/3件 取得中..."}}));
    EXPECT_TRUE(site.pagerBodies().empty());
    EXPECT_EQ(state.verdict, kVerdictLineWritten);
    EXPECT_EQ(ShiftJisToUtf8(StatusText(1, 57, true)), "求人情報 : 1件/57件 抽出中...");
}

TEST_F(RetrievalLoopTest, FurtherPagesComeThroughThePagerUntilAllAreStarted)
{
    site.totalCount = 75;
    Run();
    EXPECT_EQ(site.pagerBodies(), (std::vector<std::string>{PagerBody(1, 2), PagerBody(2, 3)}));
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 75));
    EXPECT_EQ(state.startedCount, 75);
    EXPECT_EQ(state.totalCount, 75);
    ASSERT_EQ(host.steps.size(), 75u);
    EXPECT_EQ(host.steps.back(), (ProgressStep{75, 75, "求人情報 : 75件/75件 取得中..."}));
}

TEST_F(RetrievalLoopTest, StartPositionBeginsWithItsPageAndCountsFromIt)
{
    site.totalCount = 75;
    conditions.startPosition = 30;
    Run();
    EXPECT_EQ(site.pagerBodies(), (std::vector<std::string>{PagerBody(1, 2), PagerBody(2, 3)}));
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(31, 75));
    ASSERT_FALSE(host.steps.empty());
    EXPECT_EQ(host.steps.front(), (ProgressStep{31, 75, "求人情報 : 31件/75件 取得中..."}));
    EXPECT_EQ(state.startedCount, 75);

    // At or past the end nothing is left to fetch.
    site.server.clearRequests();
    host = RecordingHost();
    conditions.startPosition = 90;
    Run();
    EXPECT_TRUE(site.pagerBodies().empty());
    EXPECT_TRUE(site.detailRequests().empty());
    EXPECT_EQ(host.steps, (std::vector<ProgressStep>{{75, 75, "求人情報 : 75件/75件 取得中..."}}));
    EXPECT_EQ(state.verdict, kVerdictNothingWritten);
}

TEST_F(RetrievalLoopTest, GroupedCountIsReadAndARunEndsOnAPageWithoutNewPostings)
{
    site.countText = "1,234";
    site.totalCount = 1234;
    site.postingCount = 40;
    Run();
    EXPECT_EQ(state.totalCount, 1234);
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 40));
    // Page 3 lists nothing: the run ends there.
    EXPECT_EQ(site.pagerBodies(), (std::vector<std::string>{PagerBody(1, 2), PagerBody(2, 3)}));

    // A site that answers the first page again and again.
    site.server.clearRequests();
    site.postingCount = -1;
    site.repeatFirstPage = true;
    Run();
    EXPECT_EQ(CsvDataLines(csvPath), QuotedJobNumbers(1, 30));
    EXPECT_EQ(site.pagerBodies().size(), 1u);
    EXPECT_EQ(state.startedCount, 30);
}

TEST_F(RetrievalLoopTest, UnknownJobSeekerNumberGivesItsVerdict)
{
    site.unknownJobSeeker = true;
    site.totalCount = 5;
    Run();
    EXPECT_EQ(state.verdict, kVerdictUnknownJobSeeker);
    EXPECT_TRUE(site.detailRequests().empty());
    EXPECT_EQ(host.steps.size(), 1u);
}

TEST_F(RetrievalLoopTest, UnreachableSiteEndsIncompleteWithNothingWritten)
{
    {
        LocalHttpServer gone;
        siteConfig.baseAddress = gone.baseAddress();
    }
    // A page left in the file must not be taken for the answer.
    site.totalCount = 5;
    std::ofstream(pageFile, std::ios::binary) << site.listPage(1);
    Run();
    EXPECT_EQ(state.totalCount, 0);
    EXPECT_EQ(state.verdict, kVerdictNothingWritten);
    EXPECT_TRUE(state.listPageFailed); // not "nothing found": the site never answered
    EXPECT_EQ(host.steps, (std::vector<ProgressStep>{{0, 0, "求人情報 : 0件/0件 取得中..."}}));
    EXPECT_EQ(ReadFileBytes(csvPath), CsvHeaderLine(conditions.outputFields) + "\r\n");
}

TEST_F(RetrievalLoopTest, OutputFileThatCannotBeCreatedEndsTheRunAtOnce)
{
    site.totalCount = 3;
    for (const char* path : {"missing/out.csv", "/dev/full"}) {
        SCOPED_TRACE(path);
        state.outputPath = path[0] == '/' ? std::filesystem::path(path)
                                          : std::filesystem::path(dir.filePath(path).toStdString());
        Run();
        EXPECT_TRUE(state.outputFailed);
        EXPECT_TRUE(site.server.requests().empty());
        EXPECT_TRUE(host.steps.empty());
        EXPECT_TRUE(host.resets.empty());
    }
}

// The log keeps the last runs; a first list page with neither a count nor
// an error box is said to be so and kept, so that "nothing found" can be
// told from a page that could not be read.
TEST_F(RetrievalLoopTest, RunLogKeepsTheLastRunsAndAnUnreadListPage)
{
    const std::filesystem::path logFile = dir.filePath("run.log").toStdString();
    const std::filesystem::path keptPage = dir.filePath("last_list_page.html").toStdString();
    RunLog log(logFile, keptPage);
    conditions.jobSeekerNumber1 = "13010";
    conditions.jobSeekerNumber2 = "1234567";
    conditions.freeWords = Sjis("看護");
    for (int run = 0; run < kRunLogKeptRuns + 2; ++run) {
        ASSERT_TRUE(log.begin(std::chrono::system_clock::now(), conditions));
        log.line("run " + std::to_string(run));
    }
    site.showCount = false;
    RunRetrieval(RunContext{conditions, state, csv, host, siteConfig, {}, pageFile, &log});

    const std::string text = ReadFileBytes(logFile);
    size_t sections = 0;
    for (size_t at = 0; (at = text.find("=== run ", at)) != std::string::npos; ++at)
        ++sections;
    EXPECT_EQ(sections, static_cast<size_t>(kRunLogKeptRuns));
    EXPECT_EQ(text.find("run 1\n"), std::string::npos);
    EXPECT_NE(text.find("run 2\n"), std::string::npos);
    EXPECT_NE(text.find("FreeWord=\"看護\""), std::string::npos);
    EXPECT_EQ(text.find("1234567"), std::string::npos);
    EXPECT_NE(text.find("POST /kensaku/GECA110030.do 200 "), std::string::npos);
    EXPECT_NE(text.find("count 0 (no count)\nlist page without a count or an error box, kept as "),
              std::string::npos);
    EXPECT_NE(text.find("lines written 0\n"), std::string::npos);
    EXPECT_FALSE(ReadFileBytes(keptPage).empty());

    EXPECT_EQ(PathWithoutQuery("http://127.0.0.1:8/kensaku/GECA110010.do?action=dispDetailBtn&kJNo=1"),
              "/kensaku/GECA110010.do");
    EXPECT_EQ(PathWithoutQuery("/kensaku/GECA110030.do"), "/kensaku/GECA110030.do");
}
