// A result-list page of any bytes: its lines, the hit count, the detail
// links and the pager fields.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "text/CodePage932.h"
#include "pages/ListPageScan.h"
#include "pages/PageLines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

static constexpr std::string_view kBaseAddress = "http://127.0.0.1:8080";

// 1234567 as the site writes it: "1,234,567".
static std::string WithGroups(int value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

static void CheckLines(std::string_view page, const PageLines& lines)
{
    std::size_t bytes = 0;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        bytes += line.size();
    }
    FUZZ_CHECK(bytes <= page.size());
    FUZZ_CHECK(lines.size() <= page.size());
}

static void CheckHitCount(const PageLines& lines)
{
    const HitCountScan scan = ScanHitCount(lines, {});
    FUZZ_CHECK(scan.totalCount >= 0);
    // The first of the count and the error box ends the scan: never both.
    FUZZ_CHECK(!scan.unknownJobSeeker || scan.totalCount == 0);
    if (scan.totalCount > 0) {
        FUZZ_CHECK(ParseHitCount(WithGroups(scan.totalCount)) == scan.totalCount);
        FUZZ_CHECK(ParseHitCount(std::to_string(scan.totalCount)) == scan.totalCount);
    }

    // A stop asked for at once still lets the first line be read, and only it.
    const HitCountScan stopped = ScanHitCount(lines, [] { return true; });
    const PageLines firstLine(lines.begin(), lines.begin() + std::min<std::ptrdiff_t>(1, std::ssize(lines)));
    const HitCountScan first = ScanHitCount(firstLine, {});
    FUZZ_CHECK(stopped.totalCount == first.totalCount);
    FUZZ_CHECK(stopped.unknownJobSeeker == first.unknownJobSeeker);
}

static void CheckLinks(const PageLines& lines)
{
    const std::size_t linkLines = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& line) { return line.find("_dispDetailBtn") != std::string::npos; }));
    const auto links = ScanDetailLinks(lines, kBaseAddress);
    FUZZ_CHECK(links.size() <= linkLines);
    const std::string prefix = std::string(kBaseAddress) + "/kensaku/";
    for (const std::string& link : links) {
        FUZZ_CHECK(link.starts_with(prefix));
        FUZZ_CHECK(link.find_first_of("\"\r\n") == std::string::npos);
        // Cut only between whole characters: the address reads back unchanged.
        FUZZ_CHECK(Utf8ToShiftJis(ShiftJisToUtf8(link)) == link);
    }
}

static void CheckPager(const PageLines& lines)
{
    const PagerFields fields = ScanPagerFields(lines);
    FUZZ_CHECK(!fields.nowPage || *fields.nowPage >= 1);
    FUZZ_CHECK(!fields.naviCount || *fields.naviCount >= 1);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page = InputBytes(data, size);
    const PageLines lines = SplitPageLines(page);
    CheckLines(page, lines);
    CheckHitCount(lines);
    CheckLinks(lines);
    CheckPager(lines);
    // Any count text at all reads as a count or as 0.
    FUZZ_CHECK(ParseHitCount(page.substr(0, 32)) >= 0);
    return 0;
}
