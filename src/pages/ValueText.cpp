#include "pages/ValueText.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

namespace kenmori {

std::string WaveDashRestored(std::string_view text)
{
    static const std::string kWaveDash = Sjis("～");
    // A character the page gave without a code page 932 form (the wave dash
    // U+301C above all) stands as a reference made in reading the page:
    // marked to show as "～" in code page 932 and as itself in UTF-8. The
    // page's own references keep their meaning.
    return ReplaceAllText(ReplaceAllText(text, "&?#", "&~#"), "?", kWaveDash);
}

void JoinWith(std::string& acc, std::string_view text, std::string_view separator)
{
    if (text.empty())
        return;
    if (!acc.empty())
        acc += separator;
    acc += text;
}

void AppendWithSpace(std::string& acc, std::string_view text)
{
    if (text.empty())
        return;
    acc += ' ';
    acc += text;
}

} // namespace kenmori
