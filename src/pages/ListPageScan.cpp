#include "pages/ListPageScan.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/HtmlTree.h"

#include <charconv>

static bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

int ParseHitCount(std::string_view text)
{
    // Groups of three after the first, as the site writes 1,234,567.
    std::string digits;
    size_t start = 0;
    for (bool first = true;; first = false) {
        const size_t comma = text.find(',', start);
        const std::string_view group = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const bool sized = first ? !group.empty() && (group.size() <= 3 || comma == std::string_view::npos)
                                 : group.size() == 3;
        if (!AllDigits(group) || !sized)
            return 0;
        digits += group;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

// A pager input's value as a number of 1 or more.
static std::optional<int> PositiveNumber(std::string_view digits)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < 1)
        return std::nullopt;
    return value;
}

static std::string ParagraphText(const xmlNode* paragraph)
{
    return TrimText(Utf8ToShiftJis(SubtreeText(paragraph)));
}

// "<span>1,234件</span>中 1～30件を表示": the number before the first "件".
static int CountOfParagraph(const xmlNode* paragraph)
{
    static const std::string kCountMark = Sjis("件");
    const std::string text = ParagraphText(paragraph);
    const int mark = FindText(kCountMark, text);
    return mark > 0 ? ParseHitCount(TrimText(text.substr(0, static_cast<size_t>(mark) - 1))) : 0;
}

// baseAddress + "/kensaku" + the href from its first "/"; none without one.
static std::optional<std::string> DetailLink(const xmlNode* anchor, std::string_view baseAddress)
{
    const std::string href = Utf8ToShiftJis(AttributeText(anchor, "href"));
    const size_t slash = href.find('/');
    if (slash == std::string::npos)
        return std::nullopt;
    return std::string(baseAddress) + "/kensaku"
        + ReplaceAllText(std::string_view(href).substr(slash), "&amp;", "&");
}

ListPageReading ReadListPage(std::string_view html, std::string_view baseAddress)
{
    static const std::string kJobSeekerNumber = Sjis("求職番号");
    ListPageReading page;
    HitCountScan& count = page.count;
    std::optional<int> hiddenCount;
    const HtmlDocument document = ParseHtmlPage(html);
    const xmlNode* root = RootElement(document);
    for (const xmlNode* node = root; node; node = NextInTree(node, root)) {
        const std::string_view name = ElementName(node);
        if (name == "p" && !count.countFound && !count.errorBox) {
            if (HasClass(node, "numberJobText_layout")) {
                count.countFound = true;
                count.totalCount = CountOfParagraph(node);
            } else if (HasClass(node, "msg_E")) {
                count.errorBox = true;
                count.unknownJobSeeker = ContainsText(ParagraphText(node), kJobSeekerNumber);
            }
        } else if (name == "a" && AttributeText(node, "id").find("_dispDetailBtn") != std::string::npos) {
            if (std::optional<std::string> link = DetailLink(node, baseAddress))
                page.detailLinks.push_back(std::move(*link));
        } else if (name == "input") {
            const std::string inputName = AttributeText(node, "name");
            const std::string value = AttributeText(node, "value");
            if (inputName == "kyujinkensu" && !hiddenCount)
                hiddenCount = ParseHitCount(Utf8ToShiftJis(value));
            else if (inputName == "fwListNowPage" && !page.pager.nowPage)
                page.pager.nowPage = PositiveNumber(value);
            else if (inputName == "fwListNaviCount" && !page.pager.naviCount)
                page.pager.naviCount = PositiveNumber(value);
        }
    }
    // Result lists since spring 2026 may carry the count in a hidden input only.
    if (!count.countFound && !count.errorBox && hiddenCount) {
        count.countFound = true;
        count.totalCount = *hiddenCount;
    }
    return page;
}

std::string BuildPagerRequestBody(int nowPage, int wantedPage, int naviCount)
{
    const std::string wanted = std::to_string(wantedPage);
    return "&screenId=GECA110010&fwListNowPage=" + std::to_string(nowPage) + "&fwListLeftPage=" + wanted
        + "&fwListNaviCount=" + std::to_string(naviCount) + "&fwListNaviBtn1=" + wanted;
}
