#include "pages/ValueText.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

namespace kenmori {

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

void AppendWithSpace(std::string& acc, std::string_view text)
{
    if (text.empty())
        return;
    acc += ' ';
    acc += text;
}

} // namespace kenmori
