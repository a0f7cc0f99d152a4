#pragma once
// Reading a result-list page: the hit count, the detail links and the pager
// fields, from the page's structure (UTF-8 as the site sends it).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

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

// The fields of the older pager, for pages without a form of their own.
struct PagerFields {
    std::optional<int> nowPage;   // fwListNowPage
    std::optional<int> naviCount; // fwListNaviCount
};

// A post that asks the site for a list page.
struct ListPageRequest {
    std::string path; // asked at the site's base address
    std::string body; // form-encoded
};

struct ListPageReading {
    // The first count paragraph or error box in page order; a page with
    // neither takes its count from the hidden input "kyujinkensu", if it has
    // one.
    HitCountScan count;
    // The address of every detail link, in page order (code page 932): the
    // link resolved against the page's own address as a browser resolves it,
    // its path and query at the base address.
    std::vector<std::string> detailLinks;
    // Detail buttons whose link leads anywhere but the site's detail screen.
    std::vector<std::string> skippedLinks;
    // Postings a page of this list shows: fwListNaviDisp, else how many the
    // page lists.
    int pageSize = 0;
    // The page's own form with its "次へ＞" button (fwListNaviBtnNext), and
    // what pressing that button sends; none when it is disabled (the last
    // page).
    bool hasPagerForm = false;
    std::optional<ListPageRequest> nextPage;
    // Without such a form, the older pager's fields.
    PagerFields pager;
};

// The page (UTF-8 as the site sends it) read from its structure; pageAddress
// is where it came from, baseAddress where its links are asked for.
ListPageReading ReadListPage(std::string_view html, std::string_view pageAddress, std::string_view baseAddress);

// The older pager's form body that asks the list for wantedPage.
std::string BuildPagerRequestBody(int nowPage, int wantedPage, int naviCount);

} // namespace kenmori
