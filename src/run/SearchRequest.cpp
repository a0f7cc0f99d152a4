#include "run/SearchRequest.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <cstdio>

namespace kenmori {

namespace {

constexpr std::string_view kFixedBlock =
    "&tatZngyCKBox=1&jkgiRadioBtn=0&kJNoJo1=&searchClear=0&screenId=GECA110030"
    "&maba_vrbs=infTkRiyoDantaiBtn%2CsearchKantanBtn%2CsearchBtn%2CsearchNoBtn"
    "%2CsearchClearBtn%2CdispDetailBtn%2CkyujinhyoBtn%2CcheckedKyujinViewBtn"
    "%2CcheckedKyujinhyoIppanBtn%2CcheckedKyujinhyoDsBtn&preCheckFlg=false";

// The search button's caption " 検索する", form-encoded.
constexpr std::string_view kSearchButton = "&searchBtn=+%E6%A4%9C%E7%B4%A2%E3%81%99%E3%82%8B";

std::string TwoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2.2d", value);
    return buffer;
}

std::string_view KindOfPostingFields(int jobCheck)
{
    switch (jobCheck) {
    case 1: return "&kjKbnRadioBtn=1&ippanCKBox=1";
    case 2: return "&kjKbnRadioBtn=1&ippanCKBox=2";
    case 3: return "&kjKbnRadioBtn=2";
    case 4: return "&kjKbnRadioBtn=3";
    case 5: return "&kjKbnRadioBtn=4";
    case 6: return "&kjKbnRadioBtn=5";
    case 7: return "&kjKbnRadioBtn=5&sGSYACKBox=1";
    case 8: return "&kjKbnRadioBtn=5&sGSYACKBox=2";
    default: return "&kjKbnRadioBtn=1"; // index 0, or nothing selected
    }
}

void AppendField(std::string& body, std::string_view name, std::string_view value)
{
    body += '&';
    body += name;
    body += '=';
    body += value;
}

std::string PrefectureList(const SearchConditions& conditions)
{
    std::string list;
    if (!conditions.cityCodes.empty())
        list = conditions.cityCodes; // the cities stand for the first prefecture
    else if (conditions.prefecture1 > 0)
        list = TwoDigits(conditions.prefecture1);
    for (int region : {conditions.prefecture2, conditions.prefecture3}) {
        if (region <= 0)
            continue;
        if (!list.empty())
            list += "%2C";
        list += TwoDigits(region);
    }
    return list;
}

} // namespace

std::string EncodeFormValue(std::string_view sjisText)
{
    // The site's own search page keeps these as they are too.
    return FormEncoded(ShiftJisToUtf8(sjisText), "!$'()*-._@");
}

std::string BuildSearchRequestBody(const SearchConditions& conditions)
{
    std::string body(kFixedBlock);
    body += kSearchButton;
    if (conditions.postingKind != 3)
        body += "&tnseiRadioBtn=0&jginSuRadioBtn=0";
    body += KindOfPostingFields(conditions.postingKind);

    if (conditions.dispatch > 0)
        AppendField(body, "hakenUkeoinCKBox", std::to_string(conditions.dispatch));

    if (!conditions.jobSeekerNumber1.empty() && !conditions.jobSeekerNumber2.empty()) {
        AppendField(body, "kSNoJo", conditions.jobSeekerNumber1);
        AppendField(body, "kSNoGe", conditions.jobSeekerNumber2);
    }

    if (conditions.occupation > 0)
        AppendField(body, "kiboSuruSKSU1Hidden", TwoDigits(conditions.occupation) + "%2C00");

    if (conditions.industry > 0)
        AppendField(body, "kiboSuruSngBrui1In", TwoDigits(conditions.industry));

    if (!conditions.freeWords.empty()) {
        const std::string words = EncodeFormValue(conditions.freeWords);
        switch (conditions.wordsMode) {
        case 0:
        case 1:
            AppendField(body, "freeWordRadioBtn", std::to_string(conditions.wordsMode));
            AppendField(body, "freeWordInput", words);
            break;
        case 2: AppendField(body, "nOTKNSKFreeWordInput", words); break;
        default: break;
        }
    }

    const std::pair<std::string_view, const std::string&> codeFields[] = {
        {"sKGYBRUIJo1", conditions.categoryMajor1},
        {"sKGYBRUIGe1", conditions.categoryMinor1},
        {"sKGYBRUIJo2", conditions.categoryMajor2},
        {"sKGYBRUIGe2", conditions.categoryMinor2},
    };
    for (const auto& [name, value] : codeFields) {
        if (!value.empty())
            AppendField(body, name, value);
    }

    if (conditions.recentWeek)
        AppendField(body, "newArrivedCKBox", "2");
    else if (conditions.recentTwoDays)
        AppendField(body, "newArrivedCKBox", "1");

    const std::string prefectures = PrefectureList(conditions);
    if (!prefectures.empty())
        AppendField(body, "todohukenHidden", prefectures);

    return body;
}

} // namespace kenmori
