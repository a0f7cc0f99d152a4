#include "DemoPages.h"

#include "DemoTables.h"
#include "DemoText.h"

#include <algorithm>
#include <utility>

namespace kenmori {

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

// The job number as the list's hidden inputs carry it: without its hyphen.
std::string PlainJobNumber(const DemoPosting& posting)
{
    return ReplaceAll(posting.jobNumber, "-", "");
}

std::string ListEntry(const DemoPosting& posting, size_t place, const DemoListView& view)
{
    const std::string query = posting.detailPath.substr(std::string_view("/kensaku/").size());
    const std::string number = PlainJobNumber(posting);
    std::string entry;
    entry += "<table class=\"kyujin m_v_1_pc m_v_0_5_sd \">\n";
    entry += "<tr class=\"kyujin_head\"><td colspan=\"2\"><div class=\"fs1_5 fb\">" + posting.occupation
        + "</div>\n<button type=\"button\" class=\"button qr_btn\" data-id=\"" + posting.jobNumber
        + "\">QR</button></td></tr>\n";
    const std::pair<const char*, std::string> rows[] = {
        {"事業所名",
         posting.employer.empty() ? std::string("（事業所の意向により公開していません）") : posting.employer},
        {"就業場所", posting.area},
        {"賃金", posting.wage},
        {"求人番号", posting.jobNumber},
    };
    for (const auto& [label, value] : rows)
        entry += "<tr class=\"kyujin_body\"><td class=\"label_col\">" + std::string(label)
            + "</td><td class=\"data_col\">" + value + "</td></tr>\n";
    entry += "<tr class=\"kyujin_foot\"><td colspan=\"2\">\n";
    entry += "<input type=\"checkbox\" name=\"kyujinCKBoxDetail\" value=\"" + number + "\">\n";
    entry += "<input type=\"hidden\" name=\"listKjNo" + std::to_string(place) + "\" value=\"" + number + "\">\n";
    entry += "<a id=\"ID_dispDetailBtn\" class=\"button disp_btn\" href=\"" + Escape(view.linkPrefix + query)
        + "\" target=\"_blank\">詳細を表示</a>\n";
    entry += "<a id=\"ID_kyujinhyoBtn\" class=\"button\" href=\"" + Escape(view.linkPrefix)
        + "GECA110020.do?screenId=GECA110020&amp;action=kyujinhyoBtn&amp;kJNo=" + posting.jobNumber
        + "\" target=\"_blank\">求人票を表示</a>\n";
    entry += "</td></tr>\n</table>\n";
    return entry;
}

// The search's conditions as the controls a browser would show them in.
std::string ConditionControls(const std::vector<DemoFormField>& conditions)
{
    std::string html = "<div class=\"search_condition\">\n";
    for (const DemoFormField& field : conditions) {
        const std::string name = Escape(field.name);
        const std::string value = Escape(field.value);
        if (field.name.ends_with("CKBox"))
            html += "<label><input type=\"checkbox\" name=\"" + name + "\" value=\"" + value + "\" checked>" + name
                + "</label>\n";
        else if (field.name.ends_with("Input"))
            html += "<input type=\"text\" name=\"" + name + "\" value=\"" + value + "\">\n";
        else if (field.name.ends_with("RadioBtn"))
            html += "<label><input type=\"radio\" name=\"" + name + "\" value=\"" + value + "\" checked>" + value
                + "</label><label><input type=\"radio\" name=\"" + name + "\" value=\"" + value
                + "x\">other</label>\n";
        else
            html += "<input type=\"hidden\" name=\"" + name + "\" value=\"" + value + "\">\n";
    }
    // A box left unticked is not sent.
    html += "<label><input type=\"checkbox\" name=\"teinenCKBox\" value=\"1\">定年制なし</label>\n";
    html += "<input type=\"submit\" name=\"searchBtn\" value=\"検索\">\n</div>\n";
    return html;
}

struct ListPageShape {
    int total = 0;
    int pages = 1;
    int first = 0; // index of the first posting shown
    int last = 0;  // one past the last
    int left = 1;  // the first numbered page button
};

ListPageShape ShapeOf(size_t hitCount, int page, int pageSize)
{
    ListPageShape shape;
    shape.total = static_cast<int>(hitCount);
    shape.pages = std::max(1, (shape.total + pageSize - 1) / pageSize);
    shape.first = (page - 1) * pageSize;
    shape.last = std::min(shape.total, shape.first + pageSize);
    shape.left = std::max(1, std::min(page - 1, shape.pages - 3));
    return shape;
}

// The hidden fields of the pager, in page order.
std::vector<DemoFormField> PagerFields(int page, const ListPageShape& shape, const DemoListView& view)
{
    return {{"fwListNowPage", std::to_string(page)},
            {"fwListLeftPage", std::to_string(shape.left)},
            {"fwListNaviCount", std::to_string(kDemoPagerNaviCount)},
            {"fwListNaviDisp", std::to_string(view.pageSize)},
            {"fwListNaviSort", "1"},
            {"screenId", "GECA110030"},
            {"action", ""},
            {"maba_vrbs", view.token},
            {"preCheckFlg", "false"}};
}

std::string CountParagraph(const ListPageShape& shape)
{
    std::string html = "<p class=\"numberJobText_layout numberJobText_font\"><span class=\"fb\">"
        + GroupDigits(shape.total) + "件</span>中&nbsp;";
    html += shape.first < shape.last
        ? std::to_string(shape.first + 1) + "～" + std::to_string(shape.last) + "&nbsp;件を表示</p>\n"
        : std::string("表示できる求人はありません</p>\n");
    return html;
}

std::string Pager(int page, const ListPageShape& shape)
{
    const auto disabled = [](bool yes) { return std::string(yes ? " disabled=\"\"" : ""); };
    std::string html = "<div class=\"pager\">\n";
    html += "<input type=\"submit\" name=\"fwListNaviBtnPrev\" value=\"＜前へ\"" + disabled(page <= 1) + ">\n";
    for (int button = 1; button <= 4 && shape.left + button - 1 <= shape.pages; ++button) {
        const int shown = shape.left + button - 1;
        html += "<input type=\"submit\" name=\"fwListNaviBtn" + std::to_string(button) + "\" value=\""
            + std::to_string(shown) + "\"" + disabled(shown == page) + ">\n";
    }
    html += "<input type=\"submit\" name=\"fwListNaviBtnNext\" value=\"次へ＞\"" + disabled(page >= shape.pages)
        + ">\n</div>\n";
    return html;
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

std::vector<DemoFormField> ResultListFormFields(const std::vector<const DemoPosting*>& hits, int page,
                                                const DemoListView& view)
{
    const ListPageShape shape = ShapeOf(hits.size(), page, view.pageSize);
    std::vector<DemoFormField> fields = view.conditions;
    for (DemoFormField& field : PagerFields(page, shape, view))
        fields.push_back(std::move(field));
    fields.push_back({"fwListNaviDispTop", std::to_string(view.pageSize)});
    for (int i = shape.first; i < shape.last; ++i)
        fields.push_back(
            {"listKjNo" + std::to_string(i - shape.first), PlainJobNumber(*hits[static_cast<size_t>(i)])});
    return fields;
}

std::string ResultListPage(const std::vector<const DemoPosting*>& hits, int page, const DemoListView& view)
{
    const ListPageShape shape = ShapeOf(hits.size(), page, view.pageSize);
    std::string html = Head("求人情報検索・一覧｜ハローワークインターネットサービス");
    html += "<form name=\"form_1\" id=\"ID_form_1\" method=\"post\" action=\"" + Escape(view.linkPrefix)
        + "GECA110030.do\">\n";
    html += ConditionControls(view.conditions);
    for (const DemoFormField& field : PagerFields(page, shape, view))
        html += "<input type=\"hidden\" name=\"" + field.name + "\" value=\"" + Escape(field.value) + "\">\n";
    html += CountParagraph(shape);
    html += "<div class=\"flex\"><span>表示件数</span><select name=\"fwListNaviDispTop\">\n";
    std::vector<int> sizes = {10, 30, 50};
    if (std::find(sizes.begin(), sizes.end(), view.pageSize) == sizes.end())
        sizes.push_back(view.pageSize);
    for (const int size : sizes)
        html += "<option value=\"" + std::to_string(size) + "\"" + (size == view.pageSize ? " selected" : "") + ">"
            + std::to_string(size) + "件</option>\n";
    html += "</select></div>\n";
    html += Pager(page, shape);
    for (int i = shape.first; i < shape.last; ++i)
        html += ListEntry(*hits[static_cast<size_t>(i)], static_cast<size_t>(i - shape.first), view);
    html += CountParagraph(shape);
    html += Pager(page, shape);
    html += "</form>\n";
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

} // namespace kenmori
