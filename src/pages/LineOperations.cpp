#include "pages/LineOperations.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

bool RawLineContains(const PageText& page, int k, std::string_view marker)
{
    return page.exists(k) && ContainsText(page.raw(k), marker);
}

std::string Cleaned(std::string_view text)
{
    if (std::optional<std::string> quick = SpacedTagsStripped(text, {}))
        return std::move(*quick);
    return Cleaned(std::string(text));
}

std::string Cleaned(std::string text)
{
    StripTagsInPlace(text);
    TrimInPlace(text);
    return text;
}

std::string_view AfterLabel(std::string_view text)
{
    const int at = FindText("</th>", text);
    return at > 0 ? text.substr(static_cast<size_t>(at) - 1) : text;
}

std::string WaveDashRestored(std::string_view text)
{
    static const std::string kWaveDash = Sjis("～");
    return ReplaceAllText(text, "?", kWaveDash);
}

void JoinWith(std::string& acc, std::string_view text, std::string_view separator)
{
    if (text.empty())
        return;
    if (!acc.empty())
        acc += separator;
    acc += text;
}

void AppendText(std::string& acc, std::string_view text)
{
    acc += text;
}

void AppendWithSpace(std::string& acc, std::string_view text)
{
    if (text.empty())
        return;
    acc += ' ';
    acc += text;
}
