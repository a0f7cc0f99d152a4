#include "DemoPages.h"

#include "DemoTables.h"
#include "DemoText.h"

#include <algorithm>

namespace {

std::string Head(std::string_view title)
{
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n<title>" + std::string(title)
        + "</title>\n</head>\n<body>\n";
}

const char* const kFoot = "</body>\n</html>\n";

// The texts of the demonstration data hold no markup characters except the
// ones put there on purpose; user input shown again is escaped.
std::string Escape(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string ListEntry(const DemoPosting& posting)
{
    // The href is relative to /kensaku/, as on the site.
    const std::string query = posting.detailPath.substr(std::string_view("/kensaku").size());
    std::string entry;
    entry += "<table class=\"kyujin\">\n";
    entry += "<tr class=\"kyujin_head\"><td><div class=\"fs18 fb\">" + posting.occupation + "</div></td></tr>\n";
    entry += "<tr class=\"kyujin_body\"><td>\n";
    entry += "<div>事業所名：" + (posting.employer.empty() ? std::string("非公開") : posting.employer)
        + "</div>\n";
    entry += "<div>就業場所：" + posting.area + "</div>\n";
    entry += "<div>賃金：" + posting.wage + "</div>\n";
    entry += "<div>求人番号：" + posting.jobNumber + "</div>\n";
    entry += "<a class=\"button_detail\" id=\"ID_dispDetailBtn\" href=\"." + ReplaceAll(query, "&", "&amp;")
        + "\" target=\"_blank\" name=\"dispDetailBtn\">詳細を表示</a>\n";
    entry += "</td></tr>\n</table>\n";
    return entry;
}

} // namespace

std::string SearchPage()
{
    std::string page = Head("求人情報検索・一覧");
    page += "<h1>求人情報検索（デモンストレーション）</h1>\n";
    page += "<form name=\"searchForm\" action=\"/kensaku/GECA110030.do\" method=\"post\">\n";
    page += "<input type=\"hidden\" name=\"screenId\" value=\"GECA110030\">\n";
    page += "<div>都道府県 <select name=\"todohukenHidden\">\n<option value=\"\"></option>\n";
    std::vector<std::string> seen;
    for (const DemoPlace& place : DemoPlaces()) {
        if (std::find(seen.begin(), seen.end(), place.prefectureCode) != seen.end())
            continue;
        seen.push_back(place.prefectureCode);
        page += "<option value=\"" + std::string(place.prefectureCode) + "\">" + place.prefecture + "</option>\n";
    }
    page += "</select></div>\n";
    page += "<div>求人区分\n";
    const char* const kinds[] = {"一般求人", "新卒・既卒求人", "季節求人", "出稼ぎ求人",
                                 "障害のある方のための求人"};
    for (int kind = 1; kind <= 5; ++kind)
        page += "<label><input type=\"radio\" name=\"kjKbnRadioBtn\" value=\"" + std::to_string(kind) + "\""
            + (kind == 1 ? " checked" : "") + ">" + kinds[kind - 1] + "</label>\n";
    page += "</div>\n";
    page += "<div>フリーワード <input type=\"text\" name=\"freeWordInput\" value=\"\"></div>\n";
    page += "<div><input type=\"submit\" name=\"searchBtn\" value=\" 検索する\"></div>\n";
    page += "</form>\n";
    return page + kFoot;
}

std::string ResultListPage(const std::vector<const DemoPosting*>& hits, int page)
{
    const int total = static_cast<int>(hits.size());
    const int pages = std::max(1, (total + kDemoPostingsPerPage - 1) / kDemoPostingsPerPage);
    const int first = (page - 1) * kDemoPostingsPerPage; // index of the first posting shown
    const int last = std::min(total, first + kDemoPostingsPerPage);
    const int left = std::max(1, std::min(page - 3, pages - kDemoPagerNaviCount + 1));

    std::string html = Head("求人情報検索・一覧");
    html += "<form name=\"ID_form_1\" id=\"ID_form_1\" action=\"/kensaku/GECA110010.do\" method=\"post\">\n";
    html += "<p class=\"fs13 numberJobText_layout\"><span class=\"fb\">" + GroupDigits(total) + "</span>件中 ";
    html += first < last ? std::to_string(first + 1) + "～" + std::to_string(last) + "件を表示</p>\n"
                         : std::string("表示できる求人はありません</p>\n");
    html += "<input type=\"hidden\" name=\"kyujinkensu\" id=\"ID_kyujinkensu\" value=\"" + std::to_string(total)
        + "\">\n";
    html += "<input type=\"hidden\" name=\"fwListNowPage\" value=\"" + std::to_string(page) + "\">\n";
    html += "<input type=\"hidden\" name=\"fwListLeftPage\" value=\"" + std::to_string(left) + "\">\n";
    html += "<input type=\"hidden\" name=\"fwListNaviCount\" value=\"" + std::to_string(kDemoPagerNaviCount)
        + "\">\n";
    html += "<input type=\"hidden\" name=\"screenId\" value=\"GECA110010\">\n";
    for (int i = first; i < last; ++i)
        html += ListEntry(*hits[static_cast<size_t>(i)]);
    html += "<div class=\"pager\">\n";
    for (int shown = left; shown <= pages && shown < left + kDemoPagerNaviCount; ++shown)
        html += "<input type=\"submit\" name=\"fwListNaviBtn1\" value=\"" + std::to_string(shown) + "\""
            + (shown == page ? " disabled" : "") + ">\n";
    html += "</div>\n</form>\n";
    return html + kFoot;
}

std::string ListMessagePage(std::string_view messageClass, std::string_view text)
{
    return Head("求人情報検索・一覧") + "<p class=\"" + Escape(messageClass) + "\">" + Escape(text)
        + "</p>\n<p class=\"fs13\"><a href=\"/kensaku/GECA110010.do?action=initDisp&amp;screenId=GECA110010\">検索画面へ戻る</a></p>\n"
        + kFoot;
}

std::string DeletedPostingPage()
{
    return Head("求人情報詳細") + "<p class=\"msg_E\">該当する情報はありません。</p>\n" + kFoot;
}

std::string BusyPage()
{
    return Head("お知らせ")
        + "<p class=\"msg_E\">ただいまアクセスが集中しています。しばらくしてから再度お試しください。</p>\n"
        + kFoot;
}

std::string PostingSheetPage(const DemoPosting* posting)
{
    if (!posting)
        return Head("求人票") + "<p class=\"msg_E\">該当する情報はありません。</p>\n" + kFoot;
    return Head("求人票") + "<h1>求人票</h1>\n<p>求人番号 " + posting->jobNumber + "</p>\n<p>"
        + posting->occupation + "</p>\n" + kFoot;
}

std::string NotFoundPage()
{
    return Head("ページが見つかりません") + "<p class=\"msg_E\">お探しのページは見つかりません。</p>\n" + kFoot;
}
