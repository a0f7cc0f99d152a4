#pragma once
// One posting of the demonstration site: what the search filters on, and the
// values the product's CSV must carry for it.

#include "run/OutputFieldCatalog.h"

#include <array>
#include <string>

namespace kenmori {

// Values of the search form's kind-of-posting radio button (kjKbnRadioBtn).
enum DemoPostingKind {
    kDemoKindGeneral = 1,
    kDemoKindGraduate = 2,
    kDemoKindSeasonal = 3,
    kDemoKindAwayFromHome = 4,
    kDemoKindDisabled = 5,
};

// Values of ippanCKBox and sGSYACKBox.
enum DemoWorkStyle { kDemoFullTime = 1, kDemoPartTime = 2 };

using DemoFields = std::array<std::string, kOutputFieldCount>;

struct DemoPosting {
    int index = 0;         // position in the site's list, from 0
    std::string jobNumber; // "13030-24010001"
    int kind = kDemoKindGeneral;
    int workStyle = kDemoFullTime;
    std::string prefectureCode; // "13"
    std::string cityCode;       // "13104"
    std::string cityName;       // "新宿区", as in the reference table
    std::string industryCode;   // middle class of the industry, "39"
    std::string searchText;     // what free words are looked for in

    // What the result list shows (UTF-8).
    std::string occupation; // "一般事務"
    std::string employer;   // empty when the name is not published
    std::string area;       // "東京都新宿区"
    std::string wage;       // "月給 200,000円～250,000円"

    bool deleted = false;            // the detail page says the posting is gone
    bool companyHidden = false;      // the employer's name is not published
    bool failsFirstDownload = false; // the first detail request gets a busy page
    bool waveDash = false;           // wages and hours printed with U+301C

    // Path and query of the detail page ("&", not "&amp;"), below the base
    // address: "/kensaku/GECA110010.do?screenId=GECA110010&action=...".
    std::string detailPath;
    // Query of the posting-sheet address as the product rebuilds it from the
    // detail page's form: "&kJNo=...&kjhyoKjKbn=...&screenId=GECA110020".
    std::string postingSheetQuery;

    // UTF-8 values as they appear in the product's CSV, one per catalog field.
    // The two address fields (kSlotPostingSheetUrl, kSlotPageUrl) are left
    // empty here: they depend on the base address (see DemoSite::expectedFields).
    DemoFields fields;
};

} // namespace kenmori
