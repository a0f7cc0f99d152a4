// The retrieval loop against the demonstration site, after the same warm-up
// visit a run makes: whole result lists, start position, empty results.

#include "DemoSite.h"
#include "site/SiteAccess.h"
#include "text/TextUtils.h"
#include "site/WarmUp.h"
#include "run/RetrievalLoop.h"
#include "run/SearchRequest.h"
#include "support/RunTestFixture.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtGlobal>

#include <mutex>
#include <map>

using namespace kenmori;

class DemoRunTest : public RunTestFixture {
protected:
    DemoSite site{DemoSiteOptions{90, "13010-1234567", {}}};

    void SetUp() override
    {
        RunTestFixture::SetUp();
        ASSERT_TRUE(site.start());
        ClearStoredCookies();
        siteConfig.baseAddress = site.baseAddress();
    }

    void Run()
    {
        const WarmUpResult warmUp = FetchSearchPage(siteConfig);
        ASSERT_TRUE(warmUp.pageArrived);
        state.siteCookie = warmUp.cookie;
        RunRetrieval(RunContext{conditions, state, csv, host, siteConfig, {}, pageFile});
    }

    // The job-number lines the site's own data gives for the search, from
    // the first-th posting of its list on.
    std::vector<std::string> expectedLines(size_t first = 0) const
    {
        std::vector<std::string> lines;
        const auto hits = site.matching(ParseSearchBody(BuildSearchRequestBody(conditions)));
        for (size_t i = first; i < hits.size(); ++i)
            lines.push_back("\"" + Utf8ToShiftJis(site.expectedFields(*hits[i])[kSlotJobNumber]) + "\"");
        return lines;
    }
};

TEST_F(DemoRunTest, WholeResultListIsFetchedPageAfterPage)
{
    Run();
    const std::vector<std::string> expected = expectedLines();
    const int total = static_cast<int>(expected.size());
    ASSERT_GT(total, 50); // two pages
    EXPECT_EQ(state.totalCount, total);
    EXPECT_EQ(state.startedCount, total);
    EXPECT_EQ(CsvDataLines(csvPath), expected);
    ASSERT_FALSE(host.steps.empty());
    EXPECT_EQ(host.steps.back().position, total);
}

TEST_F(DemoRunTest, StartPositionSkipsTheEarlierPages)
{
    conditions.startPosition = 30;
    Run();
    EXPECT_EQ(CsvDataLines(csvPath), expectedLines(30));
    ASSERT_FALSE(host.steps.empty());
    EXPECT_EQ(host.steps.front().position, 31);
}

TEST_F(DemoRunTest, EmptyResultAndUnknownJobSeekerNumber)
{
    conditions.freeWords = Utf8ToShiftJis("どの求人にもない言葉");
    Run();
    EXPECT_EQ(state.totalCount, 0);
    EXPECT_EQ(state.verdict, kVerdictNothingWritten);
    EXPECT_EQ(host.steps, (std::vector<ProgressStep>{{0, 0, "求人情報 : 0件/0件 取得中..."}}));

    conditions.freeWords.clear();
    conditions.jobSeekerNumber1 = "99999";
    conditions.jobSeekerNumber2 = "9999999";
    state = RunState{};
    state.outputPath = csvPath;
    Run();
    EXPECT_EQ(state.verdict, kVerdictUnknownJobSeeker);
    EXPECT_TRUE(CsvDataLines(csvPath).empty());
}

TEST_F(DemoRunTest, SpreadLayoutGivesTheSameFileByteForByte)
{
    conditions.outputFields.fill(true);
    const auto runAgainst = [&](DemoSite& demo) {
        siteConfig.baseAddress = demo.baseAddress();
        ClearStoredCookies();
        state = RunState{};
        state.outputPath = csvPath;
        Run();
        // The addresses in the last two fields name the site's own port.
        return ReplaceAllText(ReadFileBytes(csvPath), demo.baseAddress(), "{BASE}");
    };
    const std::string today = runAgainst(site);
    DemoSiteOptions options{90, "13010-1234567", {}};
    options.layout = DemoLayout::Spread;
    DemoSite spread{options};
    ASSERT_TRUE(spread.start());
    const size_t expected = expectedLines().size();
    ASSERT_GT(expected, 50u); // two pages
    EXPECT_EQ(CsvDataLines(csvPath).size(), expected);
    EXPECT_TRUE(runAgainst(spread) == today); // not printed: lines of 94 fields
    EXPECT_EQ(state.startedCount, static_cast<int>(expected));
}

// Four pages of fifty, the pager being the page's own form: with the site's
// absolute links and with relative ones, every posting is fetched once at
// its detail address; a start of 60 begins at posting 61.
TEST_F(DemoRunTest, FourPagesOfFiftyWithEitherLinksAndAStartOfSixty)
{
    for (const bool relative : {false, true}) {
        SCOPED_TRACE(relative ? "relative links" : "absolute links");
        std::mutex mutex;
        std::vector<std::string> requests;
        DemoSiteOptions options{230, "13010-1234567", {}};
        options.relativeLinks = relative;
        options.requestLog = [&](const std::string& request) {
            const std::lock_guard lock(mutex);
            requests.push_back(request);
        };
        DemoSite demo{options};
        ASSERT_TRUE(demo.start());
        const auto hits = demo.matching(ParseSearchBody(BuildSearchRequestBody(conditions)));
        ASSERT_GT(hits.size(), 150u);
        ASSERT_LE(hits.size(), 200u);
        const auto linesFrom = [&](size_t first) {
            std::vector<std::string> lines;
            for (size_t i = first; i < hits.size(); ++i)
                lines.push_back("\"" + Utf8ToShiftJis(demo.expectedFields(*hits[i])[kSlotJobNumber]) + "\"");
            return lines;
        };
        for (const int start : {0, 60}) {
            siteConfig.baseAddress = demo.baseAddress();
            ClearStoredCookies();
            state = RunState{};
            state.outputPath = csvPath;
            conditions.startPosition = start;
            requests.clear();
            Run();
            EXPECT_FALSE(state.listPageFailed);
            EXPECT_EQ(CsvDataLines(csvPath), linesFrom(static_cast<size_t>(start)));
            // Once each; a posting whose first download gets a busy page, twice.
            std::map<std::string, int> fetched;
            std::map<std::string, int> wanted;
            for (size_t i = static_cast<size_t>(start); i < hits.size(); ++i)
                wanted["GET " + demo.detailUrl(*hits[i]).substr(demo.baseAddress().size())] =
                    hits[i]->failsFirstDownload ? 2 : 1;
            int listPosts = 0;
            for (const std::string& request : requests) {
                if (request.find("action=dispDetailBtn") != std::string::npos)
                    ++fetched[request];
                listPosts += request == "POST /kensaku/GECA110030.do";
            }
            EXPECT_EQ(fetched, wanted);
            EXPECT_EQ(listPosts, 4); // the search and three presses of "次へ＞"
        }
        conditions.startPosition = 0;
    }
}

// A pager that answers the page before the one asked for: on the way to the
// start position, that page's postings must not pass for the start's.
TEST_F(DemoRunTest, APagerThatAnswersAnotherPageNeverWritesItsPostingsAsTheStarts)
{
    DemoSiteOptions options{230, "13010-1234567", {}};
    options.fault = DemoFault::RepeatedListPage;
    options.faultShare = 1.0;
    options.faultTargets = kDemoFaultPager;
    DemoSite demo{options};
    ASSERT_TRUE(demo.start());
    siteConfig.baseAddress = demo.baseAddress();
    conditions.startPosition = 60;
    Run();
    EXPECT_TRUE(state.listPageFailed);
    EXPECT_TRUE(CsvDataLines(csvPath).empty());
}
