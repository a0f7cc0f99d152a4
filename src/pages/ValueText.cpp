#include "pages/ValueText.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <charconv>
#include <cstdint>

namespace kenmori {

std::string WaveDashRestored(std::string_view text)
{
    static const std::string kWaveDash = Sjis("～");
    std::string restored = ReplaceAllText(text, "?", kWaveDash);
    // A character the page gave without a code page 932 form (the wave dash
    // U+301C above all) stands as a reference: marked to show as "～" in
    // code page 932 and as itself in UTF-8.
    for (size_t at = restored.find("&#x"); at != std::string::npos; at = restored.find("&#x", at + 1)) {
        const size_t end = restored.find(';', at);
        if (end == std::string::npos)
            break;
        uint32_t code = 0;
        const auto [last, error] = std::from_chars(restored.data() + at + 3, restored.data() + end, code, 16);
        if (error == std::errc() && last == restored.data() + end && !HasCodePage932Form(code))
            restored.insert(at + 1, 1, '~');
    }
    return restored;
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
