#include "pages/ListPageScan.h"

#include "site/SitePaths.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/FormSubmission.h"
#include "pages/HtmlTree.h"

#include <QUrl>

#include <charconv>

namespace kenmori {

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

// A link of the page as a browser follows it; null when it leads nowhere.
static QUrl Resolved(const QUrl& page, const std::string& href)
{
    const QUrl link(QString::fromUtf8(href).trimmed());
    if (!link.isValid())
        return {};
    const QUrl resolved = page.resolved(link);
    const QString scheme = resolved.scheme().toLower();
    return scheme == u"http" || scheme == u"https" ? resolved : QUrl();
}

// Whether the link stays on the site: the host the page came from, or the
// site's own (a page saved from the site and served from elsewhere).
static bool OnTheSite(const QUrl& page, const QUrl& link)
{
    const QString host = link.host().toLower();
    return host == page.host().toLower() || host == u"hellowork.mhlw.go.jp"
        || host.endsWith(u".hellowork.mhlw.go.jp");
}

// The detail screen's address at the base address; none for a link that
// leads anywhere else.
static std::optional<std::string> DetailAddress(const QUrl& page, const std::string& href,
                                                std::string_view baseAddress)
{
    static const QString kDetailPath = QString::fromLatin1(kDetailScreenPath.data(), kDetailScreenPath.size());
    const QUrl link = Resolved(page, href);
    if (!link.isValid() || link.path() != kDetailPath || !OnTheSite(page, link))
        return std::nullopt;
    std::string address = std::string(baseAddress) + link.path(QUrl::FullyEncoded).toStdString();
    if (link.hasQuery())
        address += "?" + link.query(QUrl::FullyEncoded).toStdString();
    return Utf8ToShiftJis(address);
}

// The form's post when its "次へ＞" button is pressed.
static std::optional<ListPageRequest> NextPageRequest(const QUrl& page, const xmlNode* form, const xmlNode* root,
                                                      const xmlNode* next)
{
    if (HasAttribute(next, "disabled"))
        return std::nullopt;
    const std::string action = AttributeText(form, "action");
    const QUrl target = action.empty() ? page : Resolved(page, action);
    if (!target.isValid())
        return std::nullopt;
    // Asked for below the base address: a path from its root ("http://host"
    // names the root itself).
    std::string path = target.path(QUrl::FullyEncoded).toStdString();
    if (!path.starts_with('/'))
        path.insert(0, "/");
    return ListPageRequest{path, FormSubmissionBody(form, root, next)};
}

ListPageReading ReadListPage(std::string_view html, std::string_view pageAddress, std::string_view baseAddress)
{
    static const std::string kJobSeekerNumber = Sjis("求職番号");
    const QUrl page(QString::fromUtf8(pageAddress.data(), static_cast<qsizetype>(pageAddress.size())));
    ListPageReading reading;
    HitCountScan& count = reading.count;
    std::optional<int> hiddenCount;
    std::optional<int> shownPerPage;
    // Links and form values as a browser sends them: references decoded.
    const HtmlDocument document = ParseHtmlPage(html, References::Decoded);
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
            const std::string href = AttributeText(node, "href");
            if (std::optional<std::string> address = DetailAddress(page, href, baseAddress))
                reading.detailLinks.push_back(std::move(*address));
            else
                reading.skippedLinks.push_back(href);
        } else if ((name == "input" || name == "button") && !reading.hasPagerForm
                   && AttributeText(node, "name") == "fwListNaviBtnNext") {
            if (const xmlNode* form = FormOwner(node, root)) {
                reading.hasPagerForm = true;
                reading.nextPage = NextPageRequest(page, form, root, node);
            }
        } else if (name == "input") {
            const std::string inputName = AttributeText(node, "name");
            const std::string value = AttributeText(node, "value");
            if (inputName == "kyujinkensu" && !hiddenCount)
                hiddenCount = ParseHitCount(Utf8ToShiftJis(value));
            else if (inputName == "fwListNowPage" && !reading.pager.nowPage)
                reading.pager.nowPage = PositiveNumber(value);
            else if (inputName == "fwListNaviCount" && !reading.pager.naviCount)
                reading.pager.naviCount = PositiveNumber(value);
            else if (inputName == "fwListNaviDisp" && !shownPerPage)
                shownPerPage = PositiveNumber(value);
        }
    }
    // Result lists since spring 2026 may carry the count in a hidden input only.
    if (!count.countFound && !count.errorBox && hiddenCount) {
        count.countFound = true;
        count.totalCount = *hiddenCount;
    }
    // Every posting counts, also one whose link is skipped.
    reading.pageSize = shownPerPage.value_or(
        static_cast<int>(reading.detailLinks.size() + reading.skippedLinks.size()));
    return reading;
}

std::string BuildPagerRequestBody(int nowPage, int wantedPage, int naviCount)
{
    const std::string wanted = std::to_string(wantedPage);
    return "&screenId=GECA110010&fwListNowPage=" + std::to_string(nowPage) + "&fwListLeftPage=" + wanted
        + "&fwListNaviCount=" + std::to_string(naviCount) + "&fwListNaviBtn1=" + wanted;
}

} // namespace kenmori
