// A result-list page of any bytes: the hit count, the detail links and the
// pager fields.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "pages/ListPageScan.h"
#include "text/CodePage932.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kenmori;

static constexpr std::string_view kBaseAddress = "http://127.0.0.1:8080";

// 1234567 as the site writes it: "1,234,567".
static std::string WithGroups(int value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view html = InputBytes(data, size);
    const ListPageReading page = ReadListPage(html, std::string(kBaseAddress) + "/kensaku/GECA110030.do",
                                              kBaseAddress);

    const HitCountScan& count = page.count;
    FUZZ_CHECK(count.totalCount >= 0);
    // The first of the count and the error box ends the search: never both.
    FUZZ_CHECK(!count.unknownJobSeeker || count.totalCount == 0);
    FUZZ_CHECK(!count.unknownJobSeeker || count.errorBox);
    if (count.totalCount > 0) {
        FUZZ_CHECK(count.countFound);
        FUZZ_CHECK(ParseHitCount(WithGroups(count.totalCount)) == count.totalCount);
        FUZZ_CHECK(ParseHitCount(std::to_string(count.totalCount)) == count.totalCount);
    }

    FUZZ_CHECK(page.detailLinks.size() <= size);
    const std::string prefix = std::string(kBaseAddress) + "/kensaku/";
    for (const std::string& link : page.detailLinks) {
        FUZZ_CHECK(link.starts_with(prefix));
        // Whole characters only: the address reads back unchanged.
        FUZZ_CHECK(Utf8ToShiftJis(ShiftJisToUtf8(link)) == link);
    }

    // The next page is asked for at a path of this site, in a body that is
    // form-encoded whole.
    if (page.nextPage) {
        FUZZ_CHECK(page.hasPagerForm);
        FUZZ_CHECK(page.nextPage->path.starts_with("/"));
        FUZZ_CHECK(page.nextPage->body.find_first_of(" \r\n\"<>") == std::string::npos);
    }
    FUZZ_CHECK(page.pageSize >= 0);
    FUZZ_CHECK(!page.pager.nowPage || *page.pager.nowPage >= 1);
    FUZZ_CHECK(!page.pager.naviCount || *page.pager.naviCount >= 1);
    // Any count text at all reads as a count or as 0.
    FUZZ_CHECK(ParseHitCount(html.substr(0, 32)) >= 0);
    return 0;
}
