#include "pages/ListPageScan.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <charconv>

static bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Raw page lines are UTF-8, so they are searched byte by byte; the double-byte
// aware search would step over UTF-8 trail bytes.
static bool Has(std::string_view line, std::string_view needle)
{
    return line.find(needle) != std::string_view::npos;
}

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

// The text of the value="..." of an input line, if it has one.
static std::optional<std::string_view> InputValueText(std::string_view line)
{
    constexpr std::string_view kValue = "value=\"";
    const size_t at = line.find(kValue);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = line.substr(at + kValue.size());
    return rest.substr(0, rest.find('"'));
}

// The value="..." of a hidden input line as a number.
static std::optional<int> InputValue(std::string_view line)
{
    const std::optional<std::string_view> digits = InputValueText(line);
    if (!digits)
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits->data(), digits->data() + digits->size(), value);
    if (error != std::errc() || end != digits->data() + digits->size() || value < 1)
        return std::nullopt;
    return value;
}

// The text of a paragraph line as code page 932, tags removed, trimmed.
static std::string ParagraphText(std::string_view line)
{
    return TrimText(StripTags(Utf8ToShiftJis(TrimText(line))));
}

HitCountScan ScanHitCount(const PageLines& lines, const StopRequested& stopRequested)
{
    static const std::string kCountMark = Sjis("件");
    static const std::string kJobSeekerNumber = Sjis("求職番号");
    HitCountScan scan;
    std::optional<int> hiddenCount;
    for (const std::string& line : lines) {
        const std::string trimmed = TrimText(line);
        if (StartsWith(trimmed, "<p ")) {
            if (Has(line, "numberJobText_layout")) {
                scan.countFound = true;
                const std::string text = ParagraphText(line);
                const int mark = FindText(kCountMark, text);
                if (mark > 0)
                    scan.totalCount = ParseHitCount(TrimText(text.substr(0, mark - 1)));
                break;
            }
            if (Has(line, "\"msg_E\"")) {
                scan.errorBox = true;
                scan.unknownJobSeeker = ContainsText(ParagraphText(line), kJobSeekerNumber);
                break;
            }
        } else if (!hiddenCount && StartsWith(trimmed, "<input") && Has(line, "\"kyujinkensu\"")) {
            // Result lists since spring 2026 carry the count in a hidden input.
            if (const auto value = InputValueText(line))
                hiddenCount = ParseHitCount(Utf8ToShiftJis(*value));
        }
        if (stopRequested && stopRequested())
            break;
    }
    if (!scan.countFound && !scan.errorBox && hiddenCount) {
        scan.countFound = true;
        scan.totalCount = *hiddenCount;
    }
    return scan;
}

std::vector<std::string> ScanDetailLinks(const PageLines& lines, std::string_view baseAddress)
{
    std::vector<std::string> links;
    for (const std::string& line : lines) {
        if (!StartsWith(TrimText(line), "<a ") || !Has(line, "_dispDetailBtn"))
            continue;
        std::string text = Utf8ToShiftJis(TrimText(line));
        const size_t slash = text.find('/');
        if (slash == std::string::npos)
            continue;
        text.erase(0, slash);
        const size_t quote = text.find('"');
        if (quote == std::string::npos)
            continue;
        text.resize(quote);
        links.push_back(std::string(baseAddress) + "/kensaku" + ReplaceAllText(text, "&amp;", "&"));
    }
    return links;
}

PagerFields ScanPagerFields(const PageLines& lines)
{
    PagerFields fields;
    for (const std::string& line : lines) {
        if (!StartsWith(TrimText(line), "<input "))
            continue;
        if (!fields.nowPage && Has(line, "name=\"fwListNowPage\""))
            fields.nowPage = InputValue(line);
        else if (!fields.naviCount && Has(line, "name=\"fwListNaviCount\""))
            fields.naviCount = InputValue(line);
    }
    return fields;
}

std::string BuildPagerRequestBody(int nowPage, int wantedPage, int naviCount)
{
    const std::string wanted = std::to_string(wantedPage);
    return "&screenId=GECA110010&fwListNowPage=" + std::to_string(nowPage) + "&fwListLeftPage=" + wanted
        + "&fwListNaviCount=" + std::to_string(naviCount) + "&fwListNaviBtn1=" + wanted;
}
