// The text utilities on any code page 932 bytes: a needle, a replacement,
// a position and a count, then the text.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "text/TextUtils.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace kenmori;

static std::string FoldAscii(std::string_view text)
{
    std::string folded(text);
    for (char& byte : folded) {
        if (byte >= 'a' && byte <= 'z')
            byte = static_cast<char>(byte - 'a' + 'A');
    }
    return folded;
}

// Is part a subsequence of whole?
static bool KeptFrom(std::string_view part, std::string_view whole)
{
    std::size_t at = 0;
    for (const char byte : part) {
        at = whole.find(byte, at);
        if (at == std::string_view::npos)
            return false;
        ++at;
    }
    return true;
}

static void CheckTrim(std::string_view text)
{
    const std::string trimmed = TrimText(text);
    const bool allBlank = std::all_of(text.begin(), text.end(),
                                      [](char byte) { return static_cast<unsigned char>(byte) <= 0x20; });
    FUZZ_CHECK(trimmed.empty() == allBlank);
    FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
    if (!trimmed.empty()) {
        FUZZ_CHECK(static_cast<unsigned char>(trimmed.front()) > 0x20);
        FUZZ_CHECK(static_cast<unsigned char>(trimmed.back()) > 0x20);
    }
}

static void CheckFind(std::string_view needle, std::string_view text)
{
    const int found = FindText(needle, text);
    FUZZ_CHECK(ContainsText(text, needle) == (found > 0));
    if (needle.empty()) {
        FUZZ_CHECK(found == 0);
        return;
    }
    // The first character start where the needle's bytes follow.
    int expected = 0;
    for (const std::size_t pos : CharacterStarts(text)) {
        if (text.substr(pos, needle.size()) == needle) {
            expected = static_cast<int>(pos) + 1;
            break;
        }
    }
    FUZZ_CHECK(found == expected);
}

static void CheckReplace(std::string_view text, std::string_view oldText, std::string_view newText)
{
    const std::string replaced = ReplaceAllText(text, oldText, newText);
    if (oldText.empty()) {
        FUZZ_CHECK(replaced == text);
        return;
    }
    FUZZ_CHECK(FoldAscii(ReplaceAllText(text, oldText, oldText)) == FoldAscii(text));

    // Marking every occurrence with a byte the texts lack, then putting the
    // old text back at each mark, gives the text again (up to letter case),
    // and the number of marks says how long the real result must be.
    const auto absent = [&](char byte) {
        return text.find(byte) == std::string_view::npos && oldText.find(byte) == std::string_view::npos;
    };
    char mark = 1;
    while (mark < 0x20 && !absent(mark))
        ++mark;
    if (mark == 0x20)
        return;
    const std::string marked = ReplaceAllText(text, oldText, std::string_view(&mark, 1));
    FUZZ_CHECK(FoldAscii(ReplaceAllText(marked, std::string_view(&mark, 1), oldText)) == FoldAscii(text));
    const auto marks = static_cast<std::size_t>(std::count(marked.begin(), marked.end(), mark));
    FUZZ_CHECK(replaced.size() + marks * oldText.size() == text.size() + marks * newText.size());
}

static void CheckSameText(std::string_view a, std::string_view b)
{
    FUZZ_CHECK(SameTextIgnoringCase(a, a));
    FUZZ_CHECK(SameTextIgnoringCase(a, b) == SameTextIgnoringCase(b, a));
    if (SameTextIgnoringCase(a, b))
        FUZZ_CHECK(FoldAscii(a) == FoldAscii(b));
    // Flipping the case of single-byte letters keeps the text the same text.
    std::string flipped(a);
    const std::vector<std::size_t> starts = CharacterStarts(a);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : a.size();
        char& byte = flipped[starts[i]];
        if (end - starts[i] == 1 && ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')))
            byte = static_cast<char>(byte ^ 0x20);
    }
    FUZZ_CHECK(SameTextIgnoringCase(a, flipped));
}

static void CheckStripTags(std::string_view text)
{
    const std::string stripped = StripTags(text);
    FUZZ_CHECK(stripped.size() <= text.size());
    FUZZ_CHECK(KeptFrom(stripped, text));
    if (text.find('<') == std::string_view::npos)
        FUZZ_CHECK(stripped == text);
    // No complete tag is left: a "<" that starts a character has no ">" after it.
    for (const std::size_t pos : CharacterStarts(stripped)) {
        if (stripped[pos] == '<')
            FUZZ_CHECK(stripped.find('>', pos + 1) == std::string::npos);
    }
    FUZZ_CHECK(StripTags(stripped) == stripped);
}

// The one pass gives what the passes give, wherever it answers.
static void CheckSpacedTags(std::string_view text, const std::string& caption)
{
    static constexpr std::string_view kSpaced[] = {"</div>", "<br>"};
    const std::string captions[] = {caption};
    const std::optional<std::string> quick = SpacedTagsStripped(text, kSpaced, captions);
    if (!quick)
        return;
    std::string passes(text);
    for (const std::string_view tag : kSpaced)
        ReplaceAllInPlace(passes, tag, " ");
    FUZZ_CHECK(*quick == TrimText(StripTags(passes)));
}

static void CheckSplit(std::string_view text, std::string_view delimiter)
{
    std::vector<std::string> list{"kept"};
    SplitText(text, delimiter, list);
    FUZZ_CHECK(!list.empty() && list.front() == "kept");
    const std::vector<std::string> pieces(list.begin() + 1, list.end());
    if (text.empty())
        FUZZ_CHECK(pieces.empty());
    else if (FindText(delimiter, text) == 0)
        FUZZ_CHECK(pieces.size() == 1 && pieces.front() == text);
    // Non-empty pieces of the text, in order, none holding the delimiter.
    std::size_t from = 0;
    for (const std::string& piece : pieces) {
        FUZZ_CHECK(!piece.empty());
        FUZZ_CHECK(FindText(delimiter, piece) == 0);
        const std::size_t at = text.find(piece, from);
        FUZZ_CHECK(at != std::string_view::npos);
        from = at + piece.size();
    }
}

static void CheckNormalize(std::string_view text)
{
    static constexpr std::array<std::string_view, 13> kWide = {
        "\x81\x40", "\x81\x7C", "\x81\x5D", "\x82\x4F", "\x82\x50", "\x82\x51", "\x82\x52",
        "\x82\x53", "\x82\x54", "\x82\x55", "\x82\x56", "\x82\x57", "\x82\x58",
    };
    const std::string normalized = NormalizeDigitsAndDashes(text);
    FUZZ_CHECK(normalized.size() <= text.size());
    for (const std::string_view wide : kWide)
        FUZZ_CHECK(FindText(wide, normalized) == 0);
    FUZZ_CHECK(NormalizeDigitsAndDashes(normalized) == normalized);
}

static void CheckSubText(std::string_view text, int start, int count)
{
    const std::string sub = SubText(text, start, count);
    const std::size_t from = static_cast<std::size_t>(std::max(start, 1)) - 1;
    if (count <= 0 || from >= text.size()) {
        FUZZ_CHECK(sub.empty());
        return;
    }
    FUZZ_CHECK(sub.size() == std::min(static_cast<std::size_t>(count), text.size() - from));
    FUZZ_CHECK(text.compare(from, sub.size(), sub) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string needle = input.ConsumeRandomLengthString(32);
    const std::string replacement = input.ConsumeRandomLengthString(32);
    const int start = input.ConsumeIntegral<int>();
    const int count = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckTrim(text);
    CheckFind(needle, text);
    CheckReplace(text, needle, replacement);
    CheckSameText(text, needle);
    CheckStripTags(text);
    CheckSpacedTags(text, needle);
    CheckSplit(text, needle);
    CheckNormalize(text);
    CheckSubText(text, start, count);
    return 0;
}
