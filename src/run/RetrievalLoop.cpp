#include "run/RetrievalLoop.h"

#include "text/CodePage932.h"
#include "site/SiteAccess.h"
#include "run/DetailExtraction.h"
#include "pages/ListPageScan.h"
#include "pages/PageFile.h"
#include "run/SearchRequest.h"

#include <algorithm>
#include <set>
#include <system_error>

static constexpr const char* kSearchPath = "/kensaku/GECA110030.do";
static constexpr const char* kListPath = "/kensaku/GECA110010.do";

std::string StatusText(int startedCount, int totalCount, bool companyNamesOnly)
{
    return Sjis("求人情報 : ") + std::to_string(startedCount) + Sjis("件/") + std::to_string(totalCount)
        + Sjis(companyNamesOnly ? "件 抽出中..." : "件 取得中...");
}

// One step on the host's progress display, with the status text.
static void ShowProgress(const RunContext& run)
{
    run.host.StepProgress(run.state.StartedCount, run.state.TotalCount,
                          StatusText(run.state.StartedCount, run.state.TotalCount, run.conditions.JobSet3));
}

// A list page as read, or the sign that it could not be had.
struct ListPage {
    ListPageReading reading;
    bool failed = false; // no answer, an error status or a cut-off body, twice
};

// A failed request must read as an empty page, not as whatever page the file
// held before. It is asked once more after its pause: losing a list page
// would lose every posting on it and all that follow.
static ListPage PostForListPage(const RunContext& run, const std::string& body, const char* objectPath,
                                std::chrono::milliseconds pause)
{
    for (int attempt = 1;; ++attempt) {
        std::error_code ignored;
        std::filesystem::remove(run.pageFile, ignored);
        const FetchResult result = HttpPostToFile(body, run.pageFile, objectPath, run.state.siteCookie,
                                                  run.stopRequested);
        if (run.log)
            run.log->request("POST", objectPath, result);
        PauseUnlessStopped(pause, run.stopRequested);
        if (result.usable())
            return {ReadListPage(ReadPageFile(run.pageFile), SiteBaseAddress()), false};
        std::filesystem::remove(run.pageFile, ignored);
        // A stop ends the run as the user asked, not as a failure.
        if (run.stopAsked())
            return {};
        if (attempt >= 2)
            return {{}, true};
    }
}

// The pager of the page in hand asks the site for wantedPage of the search.
static ListPage FetchListPage(const RunContext& run, const ListPageReading& current, int currentPage,
                              int wantedPage)
{
    const PagerFields& pager = current.pager;
    const std::string body = BuildPagerRequestBody(pager.nowPage.value_or(currentPage), wantedPage,
                                                   pager.naviCount.value_or(kDefaultPagerNaviCount));
    return PostForListPage(run, body, kListPath, run.pacing.afterListPage);
}

static void LogLine(const RunContext& run, const std::string& text)
{
    if (run.log)
        run.log->line(text);
}

// Fetches the page's postings that no earlier page listed. False when the run
// ends here: every posting started, a stop, a failed output file, or a page
// with nothing new (one past the end, or the same page again).
static bool FetchPostingsOfPage(const RunContext& run, const std::vector<std::string>& links,
                                const std::set<std::string>& earlierLinks)
{
    RunState& state = run.state;
    bool anyNew = false;
    for (const std::string& url : links) {
        if (earlierLinks.contains(url))
            continue;
        anyNew = true;
        ++state.StartedCount;
        ShowProgress(run);
        state.DetailRetried = false;
        const JobLineOutcome outcome = ExtractJobDetail(run, url);
        if (outcome == JobLineOutcome::WriteFailed) {
            state.outputFailed = true;
            return false;
        }
        if (outcome == JobLineOutcome::Written)
            ++state.linesWritten;
        if (state.StartedCount >= state.TotalCount || run.stopAsked())
            return false;
    }
    return anyNew && !run.stopAsked();
}

void RetrieveJobList(const RunContext& run)
{
    RunState& state = run.state;
    state.TotalCount = 0;
    state.StartedCount = 0;

    ListPage page = PostForListPage(run, BuildSearchRequestBody(run.conditions), kSearchPath,
                                    run.pacing.afterSearch);
    if (page.failed) {
        // Not "nothing found": the site never said so.
        state.listPageFailed = true;
        run.host.ResetProgress(0);
        ShowProgress(run);
        return;
    }
    const HitCountScan count = page.reading.count;
    state.TotalCount = count.totalCount;
    if (count.unknownJobSeeker)
        state.workerVerdict = kVerdictUnknownJobSeeker;
    LogLine(run,
            "count " + std::to_string(count.totalCount)
                + (count.errorBox         ? " (error box)"
                       : count.countFound ? ""
                                          : " (no count)"));
    if (!count.countFound && !count.errorBox && !run.stopAsked() && run.log)
        run.log->unreadListPage(run.pageFile);

    const int firstPage = std::max(run.conditions.Retry, 0) / kPostingsPerListPage + 1;
    // A start position at or past the end leaves nothing to fetch.
    state.StartedCount = std::min((firstPage - 1) * kPostingsPerListPage, std::max(state.TotalCount, 0));
    run.host.ResetProgress(state.TotalCount);
    if (state.TotalCount <= 0 || run.stopAsked() || state.StartedCount >= state.TotalCount) {
        ShowProgress(run);
        return;
    }

    int pageNumber = 1;
    if (firstPage > 1) {
        page = FetchListPage(run, page.reading, pageNumber, firstPage);
        pageNumber = firstPage;
    }
    std::set<std::string> earlierLinks;
    while (!run.stopAsked()) {
        if (page.failed) {
            state.listPageFailed = true;
            return;
        }
        const std::vector<std::string> links = page.reading.detailLinks;
        LogLine(run, "page " + std::to_string(pageNumber) + ": " + std::to_string(links.size()) + " links");
        if (!FetchPostingsOfPage(run, links, earlierLinks))
            return;
        earlierLinks.insert(links.begin(), links.end());
        page = FetchListPage(run, page.reading, pageNumber, pageNumber + 1);
        ++pageNumber;
    }
}

void RunRetrieval(const RunContext& run)
{
    if (!WriteCsvHeader(run.csv, run.state.outputPath, run.conditions.JobList)) {
        run.state.outputFailed = true;
        run.csv.close();
        return;
    }
    RetrieveJobList(run);
    if (!run.csv.close())
        run.state.outputFailed = true;
    LogLine(run, "lines written " + std::to_string(run.state.linesWritten));
}
