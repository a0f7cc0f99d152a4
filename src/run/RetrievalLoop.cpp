#include "run/RetrievalLoop.h"

#include "site/SitePaths.h"
#include "text/CodePage932.h"
#include "site/SiteAccess.h"
#include "run/DetailExtraction.h"
#include "pages/ListPageScan.h"
#include "pages/PageFile.h"
#include "run/PostingMemory.h"
#include "run/SearchRequest.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>

namespace kenmori {

static const std::string kSearchPath(kResultListPath);
// Where the older pager posts, for list pages without a form of their own.
static const std::string kListPath(kDetailScreenPath);

std::string StatusText(int startedCount, int totalCount, bool companyNamesOnly, int passedOver)
{
    std::string text = Sjis("求人情報 : ") + std::to_string(startedCount) + Sjis("件/")
        + std::to_string(totalCount) + Sjis(companyNamesOnly ? "件 抽出中..." : "件 取得中...");
    if (passedOver > 0)
        text += Sjis(" (既知 ") + std::to_string(passedOver) + Sjis("件)");
    return text;
}

// One step on the host's progress display, with the status text.
static void ShowProgress(const RunContext& run)
{
    run.host.stepProgress(
        run.state.startedCount, run.state.totalCount,
        StatusText(run.state.startedCount, run.state.totalCount, run.conditions.namedOnly, run.state.passedOver));
}

// A list page as read, or the sign that it could not be had.
struct ListPage {
    ListPageReading reading;
    bool failed = false; // no answer, an error status or a cut-off body, twice
    int number = 1;      // its place in the list, from 1
};

// A failed request must read as an empty page, not as whatever page the file
// held before. It is asked once more after its pause: losing a list page
// would lose every posting on it and all that follow.
static ListPage PostForListPage(const RunContext& run, const std::string& body, const std::string& objectPath,
                                std::chrono::milliseconds pause)
{
    for (int attempt = 1;; ++attempt) {
        std::error_code ignored;
        std::filesystem::remove(run.pageFile, ignored);
        const FetchResult result = HttpPostToFile(run.site, body, run.pageFile, objectPath, run.state.siteCookie,
                                                  run.stopRequested);
        if (run.log)
            run.log->request("POST", objectPath, result);
        PauseUnlessStopped(pause, run.stopRequested);
        if (result.usable())
            return {
                ReadListPage(ReadPageFile(run.pageFile), run.site.baseAddress + objectPath, run.site.baseAddress),
                false};
        std::filesystem::remove(run.pageFile, ignored);
        // A stop ends the run as the user asked, not as a failure.
        if (run.stopAsked())
            return {};
        if (attempt >= 2)
            return {{}, true};
    }
}

// The page after `current` as the site's own pager asks for it: its form
// with "次へ＞" pressed. A page without that form goes straight to
// wantedPage with the older pager's body. None when the form says there is no
// next page.
static std::optional<ListPage> FetchListPage(const RunContext& run, const ListPage& current, int wantedPage)
{
    const ListPageReading& reading = current.reading;
    if (reading.hasPagerForm) {
        if (!reading.nextPage)
            return std::nullopt;
        ListPage next = PostForListPage(run, reading.nextPage->body, reading.nextPage->path,
                                        run.site.pacing.afterListPage);
        // The page's own word for where it stands, where it gives one: a
        // site may answer with another page than the one asked for.
        next.number = next.reading.pager.nowPage.value_or(current.number + 1);
        return next;
    }
    const std::string body = BuildPagerRequestBody(reading.pager.nowPage.value_or(current.number), wantedPage,
                                                   reading.pager.naviCount.value_or(kDefaultPagerNaviCount));
    ListPage next = PostForListPage(run, body, kListPath, run.site.pacing.afterListPage);
    next.number = next.reading.pager.nowPage.value_or(wantedPage);
    return next;
}

static void LogLine(const RunContext& run, const std::string& text)
{
    if (run.log)
        run.log->line(text);
}

// How the postings of one page went.
enum class PageOutcome {
    Continue,   // every new posting fetched; the list goes on
    RunEnded,   // every posting started, a stop, or a failed output file
    NothingNew, // the page listed no posting that an earlier page did not
};

// Fetches the page's postings from the skip-th on that no earlier page
// listed.
static PageOutcome FetchPostingsOfPage(const RunContext& run, const std::vector<std::string>& links, size_t skip,
                                       const std::set<std::string>& earlierLinks)
{
    RunState& state = run.state;
    bool anyNew = false;
    for (size_t at = skip; at < links.size(); ++at) {
        const std::string& url = links[at];
        if (earlierLinks.contains(url))
            continue;
        anyNew = true;
        ++state.startedCount;
        // Known from an earlier run: no request, no pause.
        if (run.passOver && run.passOver->contains(JobNumberOfLink(url))) {
            ++state.passedOver;
            ShowProgress(run);
            if (state.startedCount >= state.totalCount || run.stopAsked())
                return PageOutcome::RunEnded;
            continue;
        }
        ShowProgress(run);
        state.detailRetried = false;
        const JobLineOutcome outcome = ExtractJobDetail(run, url);
        if (outcome == JobLineOutcome::WriteFailed) {
            state.outputFailed = true;
            return PageOutcome::RunEnded;
        }
        if (outcome == JobLineOutcome::Written)
            ++state.linesWritten;
        if (state.startedCount >= state.totalCount || run.stopAsked())
            return PageOutcome::RunEnded;
    }
    if (run.stopAsked())
        return PageOutcome::RunEnded;
    return anyNew ? PageOutcome::Continue : PageOutcome::NothingNew;
}

// The list ended before the count did, and neither the user nor the count
// ended it: the run is incomplete, never a success. The page is kept.
static void EndIncomplete(const RunContext& run, const ListPage& page, const std::string& why)
{
    run.state.listPageFailed = true;
    const std::string said = "page " + std::to_string(page.number) + ": " + why + " ("
        + std::to_string(page.reading.detailLinks.size()) + " links"
        + (page.reading.count.countFound ? "" : ", no count") + "); " + std::to_string(run.state.startedCount)
        + " of " + std::to_string(run.state.totalCount) + " postings started, incomplete";
    if (run.log)
        run.log->keepListPage(run.pageFile, said);
}

static void LogPage(const RunContext& run, const ListPage& page)
{
    LogLine(run,
            "page " + std::to_string(page.number) + ": " + std::to_string(page.reading.detailLinks.size())
                + " links");
    for (const std::string& href : page.reading.skippedLinks)
        LogLine(run, "page " + std::to_string(page.number) + ": link not to a detail page skipped: " + href);
}

void RetrieveJobList(const RunContext& run)
{
    RunState& state = run.state;
    state.totalCount = 0;
    state.startedCount = 0;

    ListPage page = PostForListPage(run, BuildSearchRequestBody(run.conditions), kSearchPath,
                                    run.site.pacing.afterSearch);
    if (page.failed) {
        // Not "nothing found": the site never said so.
        state.listPageFailed = true;
        run.host.resetProgress(0);
        ShowProgress(run);
        return;
    }
    const HitCountScan count = page.reading.count;
    state.totalCount = count.totalCount;
    if (count.unknownJobSeeker)
        state.verdict = kVerdictUnknownJobSeeker;
    LogLine(run,
            "count " + std::to_string(count.totalCount)
                + (count.errorBox         ? " (error box)"
                       : count.countFound ? ""
                                          : " (no count)"));
    if (!count.countFound && !count.errorBox && !run.stopAsked() && run.log)
        run.log->keepListPage(run.pageFile, "list page without a count or an error box");

    // The run begins at posting start + 1: on the page that holds it, at its
    // place there. The counters start from the start position.
    const int start = std::max(run.conditions.startPosition, 0);
    const int pageSize = page.reading.pageSize > 0 ? page.reading.pageSize : kPostingsPerListPage;
    const int firstPage = start / pageSize + 1;
    size_t skip = static_cast<size_t>(start % pageSize);
    // A start position at or past the end leaves nothing to fetch.
    state.startedCount = std::min(start, std::max(state.totalCount, 0));
    run.host.resetProgress(state.totalCount);
    if (state.totalCount <= 0 || run.stopAsked() || state.startedCount >= state.totalCount) {
        ShowProgress(run);
        return;
    }

    while (page.number < firstPage && !run.stopAsked()) {
        const int before = page.number;
        std::optional<ListPage> next = FetchListPage(run, page, firstPage);
        if (!next) {
            EndIncomplete(run, page, "no page holds the start position");
            return;
        }
        page = std::move(*next);
        if (page.failed) {
            state.listPageFailed = true;
            return;
        }
        // Postings of another page must not pass for those of the start.
        if (page.number <= before || page.number > firstPage) {
            EndIncomplete(run, page, "not the page asked for on the way to the start position");
            return;
        }
    }
    std::set<std::string> earlierLinks;
    while (!run.stopAsked()) {
        if (page.failed) {
            state.listPageFailed = true;
            return;
        }
        LogPage(run, page);
        const std::vector<std::string>& links = page.reading.detailLinks;
        const PageOutcome outcome = FetchPostingsOfPage(run, links, skip, earlierLinks);
        if (outcome == PageOutcome::RunEnded)
            return;
        if (outcome == PageOutcome::NothingNew) {
            EndIncomplete(run, page, "no posting that an earlier page did not list");
            return;
        }
        skip = 0;
        earlierLinks.insert(links.begin(), links.end());
        std::optional<ListPage> next = FetchListPage(run, page, page.number + 1);
        if (!next) {
            EndIncomplete(run, page, "the last page, by its pager");
            return;
        }
        page = std::move(*next);
    }
}

void RunRetrieval(const RunContext& run)
{
    const std::filesystem::path& file = run.lineFile.empty() ? run.state.outputPath : run.lineFile;
    const bool opened = run.appendOutput ? run.csv.openToAppend(file)
                                         : WriteCsvHeader(run.csv, file, run.conditions.outputFields);
    if (!opened) {
        run.state.outputFailed = true;
        run.csv.close();
        return;
    }
    RetrieveJobList(run);
    if (!run.csv.close())
        run.state.outputFailed = true;
    LogLine(run, "lines written " + std::to_string(run.state.linesWritten));
    if (run.passOver)
        LogLine(run, "postings passed over as written before " + std::to_string(run.state.passedOver));
}

} // namespace kenmori
