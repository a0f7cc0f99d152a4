#include "pages/PostingSheet.h"

#include "text/TextUtils.h"
#include "pages/LineOperations.h"

#include <vector>

// name="kJNo" -> kJNo: the attribute name, quotes and a closing ">" dropped.
static std::string AttributeValue(std::string_view part, std::string_view attribute)
{
    return RemoveAllText(RemoveAllText(RemoveAllText(part, attribute), "\""), ">");
}

std::string PostingSheetQueryAt(const PageText& lines, int k, const StopRequested& stopRequested)
{
    const int lastLine = static_cast<int>(lines.size()) - 1;
    std::string pair;
    std::string query;
    for (int b = -1; b <= 29; ++b) {
        const int j = k + b;
        if ((stopRequested && stopRequested()) || j >= lastLine)
            break;
        if (j < 0)
            continue; // the marker stands on the page's first line
        if (MiddleIs(lines, j, "/fo") || HeadIs(lines, j, "<fo"))
            break;
        if (!ContainsText(TrimmedLine(lines, j), "<input"))
            continue;
        std::vector<std::string> parts;
        SplitText(LineText(lines, j), " ", parts);
        for (const std::string& part : parts) {
            if (SubText(part, 1, 4) == "name") {
                pair = "&" + TrimText(AttributeValue(part, "name="));
            } else if (SubText(part, 1, 4) == "valu") {
                const std::string value = AttributeValue(part, "value=");
                // An input without a value is left out of the query.
                pair = value.empty() ? std::string() : pair + "=" + TrimText(value);
            }
        }
        query += pair;
    }
    return ReplaceAllText(query, "&#x2b;", "%2B");
}

std::string PostingSheetUrl(std::string_view baseAddress, std::string_view query)
{
    // The fixed parameter is the site's button caption "求人票を表示", UTF-8
    // percent-encoded.
    return std::string(baseAddress)
        + "/kensaku/GECA110020.do?&kyujinhyoBtn=%E6%B1%82%E4%BA%BA%E7%A5%A8%E3%82%92%E8%A1%A8%E7%A4%BA"
        + std::string(query);
}
