#include "worker/RetrievalLoop.h"

#include "site/CodePage932.h"
#include "site/SiteAccess.h"
#include "worker/DetailExtraction.h"
#include "worker/ListPageScan.h"
#include "worker/SearchRequest.h"

#include <algorithm>
#include <set>
#include <system_error>

static constexpr const char* kSearchPath = "/kensaku/GECA110030.do";
static constexpr const char* kListPath = "/kensaku/GECA110010.do";

std::string StatusText(int startedCount, int totalCount, bool companyNamesOnly)
{
    return Sjis("求人情報 : ") + std::to_string(startedCount) + Sjis("件/")
        + std::to_string(totalCount) + Sjis(companyNamesOnly ? "件 抽出中..." : "件 取得中...");
}

// One step on the host's progress display, with the status text.
static void ShowProgress(const RunContext& run)
{
    run.host.StepProgress(run.state.StartedCount, run.state.TotalCount,
                          StatusText(run.state.StartedCount, run.state.TotalCount,
                                     run.conditions.JobSet3));
}

// A failed request must read as an empty page, not as whatever page the file
// held before.
static PageLines PostForListPage(const RunContext& run, const std::string& body,
                                 const char* objectPath, std::chrono::milliseconds pause)
{
    std::error_code ignored;
    std::filesystem::remove(run.pageFile, ignored);
    HttpPostToFile(body, run.pageFile, objectPath, run.state.siteCookie);
    PauseUnlessStopped(pause, run.stopRequested);
    return LoadPageLines(run.pageFile);
}

// The pager of the page in hand asks the site for wantedPage of the search.
static PageLines FetchListPage(const RunContext& run, const PageLines& current, int currentPage,
                               int wantedPage)
{
    const PagerFields pager = ScanPagerFields(current);
    const std::string body = BuildPagerRequestBody(
        pager.nowPage.value_or(currentPage), wantedPage,
        pager.naviCount.value_or(kDefaultPagerNaviCount));
    return PostForListPage(run, body, kListPath, run.pacing.afterListPage);
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
        if (ExtractJobDetail(run, url) == JobLineOutcome::WriteFailed) {
            state.outputFailed = true;
            return false;
        }
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

    PageLines lines = PostForListPage(run, BuildSearchRequestBody(run.conditions), kSearchPath,
                                      run.pacing.afterSearch);
    const HitCountScan count = ScanHitCount(lines, run.stopRequested);
    state.TotalCount = count.totalCount;
    if (count.unknownJobSeeker)
        state.workerVerdict = kVerdictUnknownJobSeeker;

    const int firstPage = std::max(run.conditions.Retry, 0) / kPostingsPerListPage + 1;
    // A start position at or past the end leaves nothing to fetch.
    state.StartedCount = std::min((firstPage - 1) * kPostingsPerListPage, std::max(state.TotalCount, 0));
    run.host.ResetProgress(state.TotalCount);
    if (state.TotalCount <= 0 || run.stopAsked() || state.StartedCount >= state.TotalCount) {
        ShowProgress(run);
        return;
    }

    int page = 1;
    if (firstPage > 1) {
        lines = FetchListPage(run, lines, page, firstPage);
        page = firstPage;
    }
    std::set<std::string> earlierLinks;
    while (!run.stopAsked()) {
        const std::vector<std::string> links = ScanDetailLinks(lines, SiteBaseAddress());
        if (!FetchPostingsOfPage(run, links, earlierLinks))
            return;
        earlierLinks.insert(links.begin(), links.end());
        lines = FetchListPage(run, lines, page, page + 1);
        ++page;
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
}
