#include "run/DetailExtraction.h"

#include "run/PostingMemory.h"

#include "site/SiteAccess.h"
#include "pages/DetailPageScan.h"
#include "pages/IndustryCategory.h"
#include "pages/PageFile.h"
#include "pages/PostingSheet.h"

#include <system_error>

namespace kenmori {

static std::string FetchDetailPage(const RunContext& run, const std::string& url)
{
    // A failed download must read as no page, not as the previous posting's
    // page still in the file.
    std::error_code ignored;
    std::filesystem::remove(run.pageFile, ignored);
    // A page broken off part-way would give a line whose later fields are
    // empty: it reads as no page, so the single retry fetches it again.
    const FetchResult result = HttpGetToFile(run.site, url, run.pageFile, run.stopRequested);
    if (run.log)
        run.log->request("GET", url, result);
    if (!result.complete)
        std::filesystem::remove(run.pageFile, ignored);
    PauseUnlessStopped(run.site.pacing.afterDetailPage, run.stopRequested);
    return ReadPageFile(run.pageFile);
}

JobRecord ReadJobDetail(const RunContext& run, const std::string& url)
{
    DetailPageScan scan = ScanDetailPage(FetchDetailPage(run, url), run.stopRequested);
    // The reference database answers through the host, one name at a time
    // in page order, as the rows were read.
    for (const std::string& name : scan.industryNames)
        StoreIndustryCategory(run.host.lookupIndustryCategory(name), name, scan.record);
    if (!scan.postingSheetQuery.empty())
        scan.record[kSlotPostingSheetUrl] = PostingSheetUrl(run.site.baseAddress, scan.postingSheetQuery);
    scan.record[kSlotPageUrl] = url;
    return scan.record;
}

JobLineOutcome ExtractJobDetail(const RunContext& run, const std::string& url)
{
    while (true) {
        const JobRecord record = ReadJobDetail(run, url);
        const JobLineOutcome outcome = WriteJobLine(run.csv, record, run.conditions, run.state);
        // Known by the number its link asks for, as the list offers it next
        // time; a deleted posting's line holds no number of its own.
        if (outcome == JobLineOutcome::Written && run.lineWritten) {
            const std::string linked = JobNumberOfLink(url);
            run.lineWritten(linked.empty() ? record[kSlotJobNumber] : linked);
        }
        if (run.stopAsked() || !record[kSlotJobNumber].empty() || run.state.detailRetried)
            return outcome;
        run.state.detailRetried = true;
    }
}

} // namespace kenmori
