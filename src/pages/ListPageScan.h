#pragma once
// Reading a result-list page: the hit count, the detail links and the pager
// fields, from the page's structure (UTF-8 as the site sends it).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kPostingsPerListPage = 30;
inline constexpr int kDefaultPagerNaviCount = 7;

struct HitCountScan {
    int totalCount = 0;            // 0 when the page shows no usable count
    bool unknownJobSeeker = false; // the error box names the job-seeker number
    bool countFound = false;       // the count paragraph (or hidden input) was there
    bool errorBox = false;         // the error box was there
};

// "1234" or "1,234" (code page 932, trimmed) to its value; anything else,
// a malformed grouping or a value beyond int included, gives 0.
int ParseHitCount(std::string_view text);

struct PagerFields {
    std::optional<int> nowPage;   // fwListNowPage
    std::optional<int> naviCount; // fwListNaviCount
};

struct ListPageReading {
    // The first count paragraph or error box in page order; a page with
    // neither takes its count from the hidden input "kyujinkensu", if it has
    // one.
    HitCountScan count;
    // The address of every detail link, in page order (code page 932):
    // baseAddress + "/kensaku" + the href from its first "/", "&amp;" made "&".
    std::vector<std::string> detailLinks;
    // The values of the pager's hidden inputs, where the page has them.
    PagerFields pager;
};

ListPageReading ReadListPage(std::string_view html, std::string_view baseAddress);

// The form body that asks the list for wantedPage.
std::string BuildPagerRequestBody(int nowPage, int wantedPage, int naviCount);
