// Throughput of the work a run does per page: reading a detail page into a
// record, scanning a result list, writing a CSV line, converting between
// UTF-8 and code page 932. Run by scripts/bench; nothing here is a test.

#include "DemoFaults.h"
#include "DemoGenerator.h"
#include "DemoLayout.h"
#include "DemoPages.h"
#include "text/CodePage932.h"
#include "run/CsvOutput.h"
#include "pages/DetailPageScan.h"
#include "pages/ListPageScan.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

using namespace kenmori;

static const std::string& FullPosting()
{
    static const std::string kPage = [] {
        std::ifstream in(std::string(KENMORI_TEST_DATA_DIR) + "/detail/full_posting.html", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return kPage;
}

// The same page as an HTML formatter lays it out.
static const std::string& FullPostingSpread()
{
    static const std::string kPage = SpreadLayout(FullPosting());
    return kPage;
}

static const std::string& FiveMegabytePosting()
{
    static const std::string kPage = PaddedPage(GeneratePosting(0).detailPage, kDemoHugePageBytes);
    return kPage;
}

static const std::string& ListPageToday()
{
    static const std::string kPage = [] {
        std::vector<DemoPosting> postings;
        for (int index = 0; index < kDemoDefaultPageSize * 2; ++index)
            postings.push_back(GeneratePosting(index).posting);
        std::vector<const DemoPosting*> hits;
        for (const DemoPosting& posting : postings)
            hits.push_back(&posting);
        return ResultListPage(hits, 1);
    }();
    return kPage;
}

static const std::string& ListPageSpread()
{
    static const std::string kPage = SpreadLayout(ListPageToday());
    return kPage;
}

static void CountPages(benchmark::State& state, size_t bytesPerPage)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesPerPage));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// From the downloaded bytes to the filled record, as ReadJobDetail does
// after the download: one parse, the rows, the rules.
static void DetailExtraction(benchmark::State& state, const std::string& (*page)())
{
    const std::string& text = page();
    for (auto _ : state) {
        DetailPageScan scan = ScanDetailPage(text, {});
        benchmark::DoNotOptimize(scan);
    }
    if (ScanDetailPage(text, {}).record[0].empty())
        state.SkipWithError("the page gave no job number");
    CountPages(state, text.size());
}
BENCHMARK_CAPTURE(DetailExtraction, full_posting, FullPosting)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetailExtraction, full_posting_spread, FullPostingSpread)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DetailExtraction, five_mb_page, FiveMegabytePosting)->Unit(benchmark::kMillisecond);

static constexpr std::string_view kListAddress = "http://127.0.0.1:8080/kensaku/GECA110030.do";

// Count, links and pager of one result page of 50 postings.
static void ListScan(benchmark::State& state, const std::string& (*page)())
{
    const std::string& text = page();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadListPage(text, kListAddress, "http://127.0.0.1:8080"));
    if (ReadListPage(text, kListAddress, "").detailLinks.size() != static_cast<size_t>(kDemoDefaultPageSize))
        state.SkipWithError("the list page did not give its links");
    CountPages(state, text.size());
}
BENCHMARK_CAPTURE(ListScan, today, ListPageToday)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ListScan, spread, ListPageSpread)->Unit(benchmark::kMicrosecond);

static JobRecord FullRecord()
{
    JobRecord record = ScanDetailPage(FullPosting(), {}).record;
    record[kSlotPageUrl] = "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn";
    return record;
}

// One line of all 94 fields: the values normalised and quoted.
static void CsvLineBuild(benchmark::State& state)
{
    const JobRecord record = FullRecord();
    OutputFieldChecks checks;
    checks.fill(true);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string line = CsvDataLine(record, checks);
        bytes += line.size();
        benchmark::DoNotOptimize(line);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(CsvLineBuild)->Unit(benchmark::kMicrosecond);

// The same line through WriteJobLine, which also writes and flushes it.
static void CsvLineWrite(benchmark::State& state)
{
    const JobRecord record = FullRecord();
    SearchConditions conditions;
    conditions.outputFields.fill(true);
    RunState run;
    CsvOutputFile file;
    if (!file.open("/dev/null")) {
        state.SkipWithError("/dev/null cannot be opened");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteJobLine(file, record, conditions, run));
    const size_t lineBytes = CsvDataLine(record, conditions.outputFields).size() + 2;
    CountPages(state, lineBytes);
}
BENCHMARK(CsvLineWrite)->Unit(benchmark::kMicrosecond);

// A whole page of mostly Japanese text each way.
static void Utf8ToCodePage932(benchmark::State& state)
{
    const std::string& text = FullPosting();
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToShiftJis(text));
    if (Utf8ToShiftJis(text).empty())
        state.SkipWithError("the page did not convert");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(Utf8ToCodePage932)->Unit(benchmark::kMicrosecond);

static void CodePage932ToUtf8(benchmark::State& state)
{
    const std::string text = Utf8ToShiftJis(FullPosting());
    for (auto _ : state)
        benchmark::DoNotOptimize(ShiftJisToUtf8(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(CodePage932ToUtf8)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
