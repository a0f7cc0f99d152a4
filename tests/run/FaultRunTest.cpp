// Whole runs against a demonstration site that misbehaves for a share of its
// requests: error pages, broken and stalled transfers, malformed UTF-8, huge
// pages, a pager that repeats itself. Every run must end, and every line it
// writes must be the whole, correct line of the posting at its own address,
// written once.

#include "DemoGenerator.h"
#include "DemoSite.h"
#include "reference/ReferenceDatabase.h"
#include "text/CodePage932.h"
#include "site/CurlSession.h"
#include "site/SiteAccess.h"
#include "site/WarmUp.h"
#include "reference/IndustryLookup.h"
#include "run/RetrievalLoop.h"
#include "run/SearchRequest.h"
#include "support/ReferenceTestSupport.h"
#include "support/RetrievalTestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <thread>

using namespace kenmori;

// The values of a line whose values are all quoted; empty when it is not one.
static std::vector<std::string> QuotedValues(const std::string& line)
{
    if (line.size() < 2 || line.front() != '"' || line.back() != '"')
        return {};
    std::vector<std::string> values;
    const std::string inner = line.substr(1, line.size() - 2);
    const std::string separator = "\",\"";
    size_t start = 0;
    for (size_t at; (at = inner.find(separator, start)) != std::string::npos; start = at + separator.size())
        values.push_back(inner.substr(start, at - start));
    values.push_back(inner.substr(start));
    return values;
}

static DemoSiteOptions Faulty(DemoFault fault, double share, int targets, long keptBytes = -1, int postings = 40,
                              std::uint64_t seed = 7)
{
    DemoSiteOptions options;
    options.postingCount = postings;
    // Thirty a page, one of the site's choices: forty postings make two pages.
    options.pageSize = 30;
    options.fault = fault;
    options.faultShare = share;
    options.faultTargets = targets;
    options.faultKeptBytes = keptBytes;
    options.faultSeed = seed;
    return options;
}

struct RunOutcome {
    bool ended = false; // within the watchdog's time, without being stopped
    RunState state;
    std::vector<std::string> lines; // data lines of the CSV
    int detailRequests = 0;
};

static std::vector<const DemoPosting*> Hits(const DemoSite& site, const SearchConditions& conditions)
{
    return site.matching(ParseSearchBody(BuildSearchRequestBody(conditions)));
}

// Short pauses between pages, and a stalled transfer given up after about a
// second.
static SiteConfig SiteWithShortLimits()
{
    SiteConfig site;
    site.pacing = RunPacing{std::chrono::milliseconds(0), std::chrono::milliseconds(2),
                            std::chrono::milliseconds(2), std::chrono::milliseconds(0)};
    site.limits = TransferLimits{2000, 100000, 1};
    return site;
}

class FaultRunTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SearchConditions conditions;
    SiteConfig siteConfig = SiteWithShortLimits();

    void SetUp() override
    {
        ClearProxyEnvironment();
        conditions.outputFields.fill(true);
    }

    std::atomic<int> detailRequests = 0;
    std::atomic<int> listRequests = 0;

    // Faulty() whose site counts the detail and list requests it gets.
    DemoSiteOptions counted(DemoSiteOptions options)
    {
        options.requestLog = [this](const std::string& request) {
            detailRequests += request.find("dispDetailBtn") != std::string::npos;
            listRequests += request.starts_with("POST /kensaku/GECA1100");
        };
        return options;
    }

    // Starts the site, then warm-up and one whole retrieval against it; a run
    // still going after a minute is asked to stop and counts as hung. The site
    // keeps running, as its addresses are those of the lines.
    RunOutcome Run(DemoSite& site)
    {
        RunOutcome outcome;
        detailRequests = 0;
        listRequests = 0;
        if (!site.start()) {
            ADD_FAILURE() << "the site did not start";
            return outcome;
        }
        ClearStoredCookies();
        siteConfig.baseAddress = site.baseAddress();
        const std::filesystem::path csvPath = dir.filePath("out.csv").toStdString();
        outcome.state.outputPath = csvPath;
        outcome.state.siteCookie = FetchSearchPage(siteConfig).cookie;

        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::atomic<bool> stop = false;
        std::thread watchdog([&] {
            std::unique_lock lock(mutex);
            if (!done.wait_for(lock, std::chrono::seconds(60), [&] { return finished; }))
                stop = true;
        });
        ReferenceHost host;
        CsvOutputFile csv;
        RunRetrieval(RunContext{conditions, outcome.state, csv, host, siteConfig, [&] { return stop.load(); },
                                dir.filePath("tmp.dat").toStdString()});
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        done.notify_one();
        watchdog.join();

        outcome.ended = !stop;
        outcome.lines = CsvDataLines(csvPath);
        outcome.detailRequests = detailRequests;
        return outcome;
    }

    std::vector<const DemoPosting*> listedHits(const DemoSite& site) const { return ::Hits(site, conditions); }

    void runWithBrokenDetailPages(long keptBytes);

    // Checks every line against the site's data for the posting at the
    // address in its last field; gives the postings written, in file order.
    static std::vector<const DemoPosting*> checkLines(const DemoSite& site, const std::vector<std::string>& lines)
    {
        std::map<std::string, const DemoPosting*> byAddress;
        for (const DemoPosting& posting : site.postings())
            byAddress[site.detailUrl(posting)] = &posting;
        std::vector<const DemoPosting*> written;
        std::set<std::string> jobNumbers;
        for (const std::string& line : lines) {
            const std::vector<std::string> values = QuotedValues(ShiftJisToUtf8(line));
            if (values.size() != static_cast<size_t>(kOutputFieldCount)) {
                ADD_FAILURE() << "not a whole line: " << ShiftJisToUtf8(line);
                continue;
            }
            const auto found = byAddress.find(values[kSlotPageUrl]);
            if (found == byAddress.end()) {
                ADD_FAILURE() << "no posting at " << values[kSlotPageUrl];
                continue;
            }
            const DemoPosting& posting = *found->second;
            const DemoFields expected = site.expectedFields(posting);
            std::string wrongFields;
            for (int field = 0; field < kOutputFieldCount; ++field) {
                if (values[field] != expected[field])
                    wrongFields += std::string(" ") + OutputFieldNamesUtf8()[field] + " \"" + values[field]
                        + "\" not \"" + expected[field] + "\";";
            }
            EXPECT_EQ(wrongFields, "") << posting.jobNumber;
            EXPECT_TRUE(jobNumbers.insert(posting.jobNumber).second) << posting.jobNumber << " written twice";
            written.push_back(&posting);
        }
        return written;
    }
};

// Whether the attempt-th download of a posting's page brings the whole page;
// a page the fault strikes brings nothing usable.
static bool Arrives(const DemoSite& site, const DemoPosting& posting, int attempt)
{
    return !site.faultStrikesDetail(posting, attempt) && !(posting.failsFirstDownload && attempt == 1);
}

// The postings a run writes when a fault may strike each download: those
// whose first download, or else whose single retry, brings the page.
static std::vector<const DemoPosting*> Survivors(const DemoSite& site, const std::vector<const DemoPosting*>& hits,
                                                 int* retried = nullptr, int* lost = nullptr)
{
    std::vector<const DemoPosting*> survivors;
    for (const DemoPosting* posting : hits) {
        const bool first = Arrives(site, *posting, 1);
        const bool second = Arrives(site, *posting, 2);
        if (first || second)
            survivors.push_back(posting);
        if (retried && !first && second && !posting->failsFirstDownload)
            ++*retried;
        if (lost && !first && !second)
            ++*lost;
    }
    return survivors;
}

// Every posting's page once, and once more where the first download failed.
static int DetailRequests(const DemoSite& site, const std::vector<const DemoPosting*>& hits)
{
    int requests = 0;
    for (const DemoPosting* posting : hits)
        requests += Arrives(site, *posting, 1) ? 1 : 2;
    return requests;
}

// Every posting's page once, the one the site is busy for twice.
static int DetailRequests(const std::vector<const DemoPosting*>& hits)
{
    return static_cast<int>(hits.size() + std::count_if(hits.begin(), hits.end(), [](const DemoPosting* posting) {
                                return posting->failsFirstDownload;
                            }));
}

static std::vector<std::string> JobNumbers(const std::vector<const DemoPosting*>& postings,
                                           size_t count = SIZE_MAX)
{
    std::vector<std::string> numbers;
    for (size_t i = 0; i < std::min(count, postings.size()); ++i)
        numbers.push_back(postings[i]->jobNumber);
    return numbers;
}

TEST_F(FaultRunTest, ServerErrorsOnDetailPagesAreFetchedOnceMoreThenSkipped)
{
    DemoSite site(counted(Faulty(DemoFault::ServerError, 0.5, kDemoFaultDetail)));
    const auto hits = listedHits(site);
    int retried = 0;
    int lost = 0;
    const auto survivors = Survivors(site, hits, &retried, &lost);
    ASSERT_GT(retried, 0);
    ASSERT_GT(lost, 0);

    const RunOutcome run = Run(site);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.state.totalCount, static_cast<int>(hits.size()));
    EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(survivors));
    EXPECT_EQ(run.detailRequests, DetailRequests(site, hits));
    EXPECT_EQ(run.state.verdict, kVerdictLineWritten);
}

TEST_F(FaultRunTest, AListPageThatFailsTwiceEndsTheRunIncompleteKeepingEveryLine)
{
    // Every search answered with the error page: asked twice, then the run
    // ends incomplete, not as "nothing found".
    DemoSite searchFails(counted(Faulty(DemoFault::ServerError, 1.0, kDemoFaultSearch)));
    RunOutcome run = Run(searchFails);
    EXPECT_TRUE(run.ended);
    EXPECT_TRUE(run.state.listPageFailed);
    EXPECT_EQ(run.state.totalCount, 0);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_EQ(run.detailRequests, 0);
    EXPECT_EQ(listRequests, 2);

    // The second page fails twice: the first page's postings are kept.
    DemoSite pagerFails(counted(Faulty(DemoFault::ServerError, 1.0, kDemoFaultPager)));
    const auto hits = listedHits(pagerFails);
    ASSERT_GT(hits.size(), 30u);
    run = Run(pagerFails);
    EXPECT_TRUE(run.ended);
    EXPECT_TRUE(run.state.listPageFailed);
    EXPECT_EQ(JobNumbers(checkLines(pagerFails, run.lines)), JobNumbers(hits, 30));
    EXPECT_EQ(run.state.verdict, kVerdictLineWritten);
    EXPECT_EQ(listRequests, 3);
}

// Error statuses, resets, cuts, stalls, trickles and oversized pages on every
// list page, each only once: the repeat brings the page, nothing is lost.
TEST_F(FaultRunTest, AListPageThatFailsOnceIsAskedForAgain)
{
    siteConfig.limits = TransferLimits{2000, 1, 60, 1500, 20LL * 1024 * 1024};
    for (const DemoFault fault : {DemoFault::ServerError, DemoFault::ConnectionReset, DemoFault::CutShort,
                                  DemoFault::Stall, DemoFault::Trickle, DemoFault::GiantPage}) {
        SCOPED_TRACE(std::string(DemoFaultName(fault)));
        DemoSiteOptions options = counted(Faulty(fault, 1.0, kDemoFaultSearch | kDemoFaultPager));
        options.faultAttempts = 1;
        options.stallLimitMs = 5000;
        DemoSite site(options);
        const auto hits = listedHits(site);
        ASSERT_GT(hits.size(), 30u);

        const RunOutcome run = Run(site);
        EXPECT_TRUE(run.ended);
        EXPECT_FALSE(run.state.listPageFailed);
        EXPECT_EQ(run.state.totalCount, static_cast<int>(hits.size()));
        EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(hits));
        EXPECT_EQ(listRequests, 4); // two pages, each twice
    }
}

// Resets, cuts and stalls of detail pages after keptBytes: a broken page
// counts as no page, so it is fetched once more.
void FaultRunTest::runWithBrokenDetailPages(long keptBytes)
{
    for (const auto& [fault, share] : {std::pair{DemoFault::ConnectionReset, 0.5},
                                       std::pair{DemoFault::CutShort, 0.5}, std::pair{DemoFault::Stall, 0.08}}) {
        SCOPED_TRACE(std::string(DemoFaultName(fault)));
        DemoSite site(counted(Faulty(fault, share, kDemoFaultDetail, keptBytes)));
        const auto hits = listedHits(site);
        int retried = 0;
        const auto survivors = Survivors(site, hits, &retried);
        ASSERT_GT(retried, 0);

        const RunOutcome run = Run(site);
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(survivors));
        EXPECT_EQ(run.detailRequests, DetailRequests(site, hits));
    }
}

TEST_F(FaultRunTest, DetailPagesBrokenOffBeforeTheJobNumberAreFetchedOnceMore)
{
    runWithBrokenDetailPages(100); // before even a deleted posting's notice
}

TEST_F(FaultRunTest, DetailPagesBrokenOffHalfWayWriteNoPartialLine)
{
    runWithBrokenDetailPages(-1);
}

// A list page broken off half-way, every time it is asked for: no half page
// is read as if it were whole; the run ends incomplete.
TEST_F(FaultRunTest, ListPagesBrokenOffEveryTimeEndTheRunIncomplete)
{
    for (const DemoFault fault : {DemoFault::ConnectionReset, DemoFault::CutShort, DemoFault::Stall}) {
        SCOPED_TRACE(std::string(DemoFaultName(fault)));
        DemoSite site(counted(Faulty(fault, 1.0, kDemoFaultPager)));
        const auto hits = listedHits(site);
        ASSERT_GT(hits.size(), 30u);

        const RunOutcome run = Run(site);
        EXPECT_TRUE(run.ended);
        EXPECT_TRUE(run.state.listPageFailed);
        EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(hits, 30));
    }
}

// A detail page that trickles or grows beyond the size limit counts as a
// failed download: fetched once more, then skipped; the run never hangs.
TEST_F(FaultRunTest, TricklingAndOversizedDetailPagesAreGivenUp)
{
    siteConfig.limits = TransferLimits{2000, 1, 60, 800, 20LL * 1024 * 1024};
    for (const DemoFault fault : {DemoFault::Trickle, DemoFault::GiantPage}) {
        SCOPED_TRACE(std::string(DemoFaultName(fault)));
        DemoSiteOptions options = counted(Faulty(fault, 0.2, kDemoFaultDetail, -1, 20));
        options.stallLimitMs = 5000;
        DemoSite site(options);
        const auto hits = listedHits(site);
        int retried = 0;
        const auto survivors = Survivors(site, hits, &retried);
        ASSERT_TRUE(retried > 0 || survivors.size() < hits.size());

        const RunOutcome run = Run(site);
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(survivors));
        EXPECT_EQ(run.detailRequests, DetailRequests(site, hits));
    }
}

TEST_F(FaultRunTest, MalformedUtf8InPagesChangesNoLine)
{
    DemoSite site(counted(Faulty(DemoFault::InvalidUtf8, 0.5, kDemoFaultAnyPage, -1, 40, 1)));
    const auto hits = listedHits(site);
    ASSERT_TRUE(site.faultStrikesListPage(1, 1) && site.faultStrikesListPage(2, 1));
    ASSERT_LT(Survivors(site, hits).size(), hits.size()); // some detail pages carry the bytes

    const RunOutcome run = Run(site);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(hits));
    EXPECT_EQ(run.detailRequests, DetailRequests(hits));
    EXPECT_EQ(run.state.verdict, kVerdictLineWritten);
}

TEST_F(FaultRunTest, FiveMegabytePagesAreReadWhole)
{
    DemoSite site(counted(Faulty(DemoFault::HugePage, 0.2, kDemoFaultAnyPage)));
    const auto hits = listedHits(site);
    ASSERT_LT(Survivors(site, hits).size(), hits.size());

    const RunOutcome run = Run(site);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(JobNumbers(checkLines(site, run.lines)), JobNumbers(hits));
    EXPECT_EQ(run.detailRequests, DetailRequests(hits));
}

TEST_F(FaultRunTest, ARepeatedListPageEndsTheRunIncompleteWithoutDuplicates)
{
    // Page 2 answers page 1 again: only the first page's postings, once each,
    // and a run that says it is incomplete.
    DemoSite always(Faulty(DemoFault::RepeatedListPage, 1.0, kDemoFaultAnyPage, -1, 100));
    auto hits = listedHits(always);
    ASSERT_GT(hits.size(), 60u);
    RunOutcome run = Run(always);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(JobNumbers(checkLines(always, run.lines)), JobNumbers(hits, 30));
    EXPECT_EQ(run.state.verdict, kVerdictLineWritten);
    EXPECT_TRUE(run.state.listPageFailed);

    // Sometimes: the run ends at the first page that repeats.
    DemoSite sometimes(Faulty(DemoFault::RepeatedListPage, 0.5, kDemoFaultAnyPage, -1, 100));
    hits = listedHits(sometimes);
    size_t page = 2;
    while (!sometimes.faultStrikesListPage(static_cast<int>(page), 1) && (page - 1) * 30 < hits.size())
        ++page;
    ASSERT_GT(page, 2u);
    ASSERT_LT((page - 1) * 30, hits.size());
    run = Run(sometimes);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(JobNumbers(checkLines(sometimes, run.lines)), JobNumbers(hits, (page - 1) * 30));
}

TEST(DemoSiteFaults, DrawsAreRepeatableAndEachFaultShowsInTheAnswer)
{
    int struck = 0;
    for (int key = 0; key < 1000; ++key) {
        const std::string name = "detail " + std::to_string(key);
        const bool first = DemoFaultStrikes(3, 0.3, name, 1);
        EXPECT_EQ(DemoFaultStrikes(3, 0.3, name, 1), first);
        struck += first;
        EXPECT_FALSE(DemoFaultStrikes(3, 0.0, name, 1));
        EXPECT_TRUE(DemoFaultStrikes(3, 1.0, name, 2));
    }
    EXPECT_GT(struck, 240);
    EXPECT_LT(struck, 360);
    EXPECT_EQ(DemoFaultTargetsFromNames("detail,search"), kDemoFaultDetail | kDemoFaultSearch);
    EXPECT_EQ(DemoFaultTargetsFromNames("detail,"), kDemoFaultDetail);
    EXPECT_EQ(DemoFaultTargetsFromNames("details"), std::nullopt);
    EXPECT_EQ(DemoFaultTargetsFromNames(""), std::nullopt);
    for (const char* name :
         {"none", "500", "reset", "cut", "stall", "bad-utf8", "huge", "repeat", "trickle", "giant"})
        EXPECT_EQ(DemoFaultName(DemoFaultFromName(name).value()), name);
    EXPECT_EQ(DemoFaultFromName("crash"), std::nullopt);

    ClearProxyEnvironment();
    SiteConfig siteConfig = SiteWithShortLimits();
    QTemporaryDir dir;
    const std::filesystem::path file = dir.filePath("page.dat").toStdString();
    const std::string whole = GeneratePosting(0).detailPage;
    const auto fetch = [&](DemoFault fault) {
        DemoSite site(Faulty(fault, 1.0, kDemoFaultDetail, 1000, 1));
        EXPECT_TRUE(site.start());
        std::filesystem::remove(file);
        const FetchResult result = HttpGetToFile(siteConfig, site.detailUrl(site.postings().at(0)), file);
        EXPECT_TRUE(result.responded) << DemoFaultName(fault);
        return std::pair{result, ReadFileBytes(file)};
    };

    auto [result, page] = fetch(DemoFault::ServerError);
    EXPECT_EQ(result.statusCode, 500);
    EXPECT_EQ(page, ServerErrorPage());
    for (const DemoFault fault : {DemoFault::ConnectionReset, DemoFault::CutShort, DemoFault::Stall}) {
        std::tie(result, page) = fetch(fault);
        EXPECT_FALSE(result.complete) << DemoFaultName(fault);
        EXPECT_EQ(page, whole.substr(0, 1000)) << DemoFaultName(fault);
    }
    std::tie(result, page) = fetch(DemoFault::InvalidUtf8);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(page, WithInvalidUtf8(whole));
    EXPECT_EQ(Utf8ToShiftJis(page), ""); // not UTF-8 any more
    std::tie(result, page) = fetch(DemoFault::HugePage);
    EXPECT_TRUE(result.complete);
    EXPECT_GE(page.size(), kDemoHugePageBytes);
    for (const DemoFault fault : {DemoFault::InvalidUtf8, DemoFault::HugePage}) {
        // The page's own lines are all there, in their order.
        const std::vector<std::string> faulty = SplitLines(fault == DemoFault::HugePage ? page
                                                                                        : WithInvalidUtf8(whole));
        auto next = faulty.begin();
        for (const std::string& line : SplitLines(whole)) {
            if (line.starts_with("<th") && fault == DemoFault::InvalidUtf8)
                continue; // the rows above the form carry the bytes too
            next = std::find(next, faulty.end(), line);
            ASSERT_NE(next, faulty.end()) << line;
        }
    }
}
