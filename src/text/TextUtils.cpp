#include "text/TextUtils.h"

#include "text/CodePage932.h"
#include "text/WordBytes.h"

#include <QString>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kenmori {

namespace {

// Length in bytes of the character that starts at text[pos].
size_t CharLength(std::string_view text, size_t pos)
{
    if (IsShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size())
        return 2;
    return 1;
}

// Whether a character starts at text[pos], as a walk over the characters
// from text[from] (where one starts) would find: every double-byte
// character's lead byte takes the byte after it, and a byte that is no lead
// byte always ends a character. So only the lead bytes just before pos need
// counting, instead of walking the whole text.
bool StartsCharacter(std::string_view text, size_t pos, size_t from = 0)
{
    size_t leads = 0;
    while (pos - leads > from && IsShiftJisLeadByte(static_cast<unsigned char>(text[pos - 1 - leads])))
        ++leads;
    return leads % 2 == 0;
}

// The first needle in text from from on, byte for byte, or npos.
size_t FindBytes(std::string_view text, std::string_view needle, size_t from = 0)
{
    if (needle.empty() || needle.size() > text.size())
        return std::string_view::npos;
    const size_t lastStart = text.size() - needle.size();
    for (size_t at = FindByte(text, needle[0], from); at != std::string_view::npos && at <= lastStart;
         at = FindByte(text, needle[0], at + 1)) {
        size_t i = 1;
        while (i < needle.size() && text[at + i] == needle[i])
            ++i;
        if (i == needle.size())
            return at;
    }
    return std::string_view::npos;
}

char FoldAsciiCase(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Does needle match text at pos, ASCII letters without case? Case is folded
// only on single-byte characters: a trail byte that happens to equal a letter
// ("１" is 0x82 0x50, "Ｑ" is 0x82 0x70) must still compare exactly.
bool MatchesIgnoringCase(std::string_view text, size_t pos, std::string_view needle)
{
    if (text.size() - pos < needle.size())
        return false;
    size_t i = 0;
    while (i < needle.size()) {
        const size_t len = CharLength(needle, i);
        if (len == 2) {
            if (text[pos + i] != needle[i] || text[pos + i + 1] != needle[i + 1])
                return false;
        } else if (FoldAsciiCase(text[pos + i]) != FoldAsciiCase(needle[i])) {
            return false;
        }
        i += len;
    }
    return true;
}

} // namespace

std::string_view TrimmedView(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
}

std::string TrimText(std::string_view text)
{
    return std::string(TrimmedView(text));
}

void TrimInPlace(std::string& text)
{
    const std::string_view trimmed = TrimmedView(text);
    const size_t start = static_cast<size_t>(trimmed.data() - text.data());
    // Most texts have nothing to trim: no call then.
    if (start + trimmed.size() < text.size())
        text.erase(start + trimmed.size());
    if (start > 0)
        text.erase(0, start);
}

int FindText(std::string_view needle, std::string_view text)
{
    if (needle.empty())
        return 0;
    for (size_t at = FindBytes(text, needle); at != std::string_view::npos; at = FindBytes(text, needle, at + 1)) {
        if (StartsCharacter(text, at))
            return static_cast<int>(at) + 1;
    }
    return 0;
}

bool ContainsText(std::string_view text, std::string_view needle)
{
    return FindText(needle, text) > 0;
}

namespace {

// Calls found(pos) for every place where oldText is replaced, left to right,
// never inside a replaced stretch, until found returns false; found may
// rewrite text before pos.
template <typename Found>
void ForEachReplacement(std::string_view text, std::string_view oldText, Found&& found)
{
    if (oldText.empty())
        return;
    // Only a byte equal to the first byte of oldText (either case when that
    // is a letter) can start a match.
    const char first = oldText[0];
    const char firstUpper = FoldAsciiCase(first);
    const char firstLower = (firstUpper >= 'A' && firstUpper <= 'Z') ? static_cast<char>(firstUpper - 'A' + 'a')
                                                                     : firstUpper;
    const bool foldsFirst = CharLength(oldText, 0) == 1 && firstUpper != firstLower;
    // The needle's start up to its first ASCII letter compares exactly: a
    // candidate must hold all of it ("</" of "</div>", the Japanese of a
    // caption), which rules most bytes out without a call.
    const std::string_view exactStart = oldText.substr(
        0,
        static_cast<size_t>(std::find_if(oldText.begin(), oldText.end(),
                                         [](char c) { return FoldAsciiCase(c) >= 'A' && FoldAsciiCase(c) <= 'Z'; })
                            - oldText.begin()));
    const auto nextCandidate = [&](size_t from) {
        if (exactStart.size() >= 2)
            return FindBytes(text, exactStart, from);
        if (!foldsFirst)
            return FindByte(text, first, from);
        for (size_t at = from; at < text.size(); ++at) {
            if (text[at] == firstUpper || text[at] == firstLower)
                return at;
        }
        return std::string_view::npos;
    };
    // Most needles are markup, ASCII only: compared a byte at a time.
    const bool asciiNeedle = std::all_of(oldText.begin(), oldText.end(),
                                         [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const auto matchesAt = [&](size_t pos) {
        if (!asciiNeedle)
            return MatchesIgnoringCase(text, pos, oldText);
        if (text.size() - pos < oldText.size())
            return false;
        for (size_t i = 1; i < oldText.size(); ++i) {
            if (FoldAsciiCase(text[pos + i]) != FoldAsciiCase(oldText[i]))
                return false;
        }
        return true;
    };
    size_t walkedFrom = 0; // a character starts here
    for (size_t candidate = nextCandidate(0); candidate != std::string_view::npos;) {
        if (matchesAt(candidate) && StartsCharacter(text, candidate, walkedFrom)) {
            if (!found(candidate))
                return;
            walkedFrom = candidate + oldText.size();
            candidate = nextCandidate(walkedFrom);
        } else {
            candidate = nextCandidate(candidate + 1);
        }
    }
}

// Replaces the stretches [start, end) that stretches() reports, in order,
// each by a text no longer than itself, moving what is kept forward: no new
// string is made.
template <typename Stretches>
void ReplaceStretches(std::string& text, Stretches&& stretches)
{
    size_t written = 0;
    size_t kept = 0;
    stretches([&](size_t start, size_t end, std::string_view insert) {
        char* data = text.data();
        std::memmove(data + written, data + kept, start - kept);
        written += start - kept;
        if (!insert.empty()) // an empty view may hold no address at all
            std::memmove(data + written, insert.data(), insert.size());
        written += insert.size();
        kept = end;
    });
    if (kept > written)
        text.erase(written, kept - written);
}

} // namespace

std::string ReplaceAllText(std::string_view text, std::string_view oldText, std::string_view newText)
{
    std::string result;
    size_t copied = 0;
    ForEachReplacement(text, oldText, [&](size_t pos) {
        if (copied == 0 && result.empty())
            result.reserve(text.size());
        result.append(text, copied, pos - copied);
        result += newText;
        copied = pos + oldText.size();
        return true;
    });
    result.append(text, copied, std::string_view::npos);
    return result;
}

void ReplaceAllInPlace(std::string& text, std::string_view oldText, std::string_view newText)
{
    if (newText.size() > oldText.size()) {
        text = ReplaceAllText(text, oldText, newText);
        return;
    }
    // The replacement is never longer: what is kept only moves forward.
    ReplaceStretches(text, [&](const auto& remove) {
        ForEachReplacement(std::string_view(text), oldText, [&](size_t pos) {
            remove(pos, pos + oldText.size(), newText);
            return true;
        });
    });
}

bool ContainsTextIgnoringCase(std::string_view text, std::string_view needle)
{
    bool found = false;
    ForEachReplacement(text, needle, [&](size_t) {
        found = true;
        return false; // the first one tells
    });
    return found;
}

void RemoveAllInPlace(std::string& text, std::string_view what)
{
    ReplaceAllInPlace(text, what, {});
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && MatchesIgnoringCase(a, 0, b);
}

namespace {

// Calls tag(open, close) for every "<...>" that StripTags removes.
template <typename Tag>
void ForEachTag(std::string_view text, Tag&& tag)
{
    size_t walkedFrom = 0; // a character starts here
    for (size_t open = FindByte(text, '<'); open != std::string_view::npos; open = FindByte(text, '<', open + 1)) {
        if (!StartsCharacter(text, open, walkedFrom))
            continue; // the second byte of a double-byte character
        const size_t close = FindByte(text, '>', open + 1);
        if (close == std::string_view::npos)
            return; // no tag can close any more: the rest stays as it is
        tag(open, close);
        walkedFrom = close + 1;
        open = close;
    }
}

} // namespace

std::string StripTags(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    size_t copied = 0;
    ForEachTag(text, [&](size_t open, size_t close) {
        result += text.substr(copied, open - copied);
        copied = close + 1;
    });
    result += text.substr(copied);
    return result;
}

void StripTagsInPlace(std::string& text)
{
    ReplaceStretches(text, [&](const auto& remove) {
        ForEachTag(std::string_view(text), [&](size_t open, size_t close) { remove(open, close + 1, {}); });
    });
}

std::optional<std::string> SpacedTagsStripped(std::string_view text, std::span<const std::string_view> spacedTags,
                                              std::span<const std::string> captions)
{
    const auto precededByCaption = [&](size_t at) {
        return std::any_of(captions.begin(), captions.end(), [&](const std::string& caption) {
            // The last byte rules out nearly every caption without a call. An
            // empty caption stands before anything.
            return caption.empty()
                || (at >= caption.size() && FoldAsciiCase(text[at - 1]) == FoldAsciiCase(caption.back())
                    && MatchesIgnoringCase(text, at - caption.size(), caption));
        });
    };
    // Spaced tags are markup, ASCII only: compared a byte at a time.
    const auto isSpaced = [&](std::string_view tag) {
        return std::any_of(spacedTags.begin(), spacedTags.end(), [&](std::string_view spacedTag) {
            return tag.size() == spacedTag.size()
                && std::equal(tag.begin(), tag.end(), spacedTag.begin(),
                              [](char a, char b) { return FoldAsciiCase(a) == FoldAsciiCase(b); });
        });
    };
    std::string result;    // most values are short: no room is set aside
    size_t walkedFrom = 0; // a character starts here
    size_t copied = 0;
    for (size_t open = FindByte(text, '<'); open != std::string_view::npos; open = FindByte(text, '<', copied)) {
        if (!StartsCharacter(text, open, walkedFrom))
            return std::nullopt; // the second byte of a double-byte character
        // The tag's end, or a "<" before it.
        const size_t close = FindAngleBracket(text, open + 1);
        if (close == std::string_view::npos)
            break; // no tag can close any more: the rest stays as it is
        if (text[close] == '<')
            return std::nullopt;
        if (open > copied)
            result.append(text, copied, open - copied);
        if (isSpaced(text.substr(open, close + 1 - open))) {
            if (precededByCaption(open))
                return std::nullopt;
            result += ' ';
        }
        copied = walkedFrom = close + 1;
    }
    result.append(text, copied);
    TrimInPlace(result);
    return result;
}

void SplitText(std::string_view text, std::string_view delimiter, std::vector<std::string>& list)
{
    size_t pos = 0;
    while (pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        const int found = FindText(delimiter, rest);
        if (found == 0) {
            list.emplace_back(rest);
            return;
        }
        if (found > 1)
            list.emplace_back(rest.substr(0, found - 1));
        pos += found - 1 + delimiter.size();
    }
}

std::string NormalizeDigitsAndDashes(std::string_view text)
{
    // Each form is one double-byte character and each replacement one ASCII
    // character, so one walk over the characters replaces them all.
    std::string result;
    result.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        if (CharLength(text, pos) == 1) {
            result += text[pos++];
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[pos]);
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        if (lead == 0x81 && trail == 0x40)
            result += ' '; // ideographic space
        else if (lead == 0x81 && (trail == 0x7C || trail == 0x5D))
            result += '-'; // full-width hyphen-minus, hyphen
        else if (lead == 0x82 && trail >= 0x4F && trail <= 0x58)
            result += static_cast<char>('0' + (trail - 0x4F)); // full-width digits
        else
            result.append(text, pos, 2);
        pos += 2;
    }
    return result;
}

std::string SubText(std::string_view text, int start, int count)
{
    if (start < 1)
        start = 1;
    if (count <= 0 || static_cast<size_t>(start) > text.size())
        return {};
    return std::string(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count)));
}

namespace {

// One Unicode character from a numeric reference, in the text's encoding.
std::string ReferencedCharacter(char32_t code, TextEncoding encoding)
{
    if (code < 0x20 || code == 0x7F)
        return " "; // a line break or tab must not split the CSV line
    // Neither a surrogate nor U+FFFE/U+FFFF may stand in a workbook's XML.
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF)
        return "?";
    // One character as it is: QString::fromUcs4 would take a leading U+FEFF
    // for a byte-order mark and drop it.
    const QString text = QStringView(QChar::fromUcs4(code)).toString();
    if (encoding == TextEncoding::Utf8)
        return text.toStdString();
    const std::string converted = QStringToShiftJis(text);
    return converted.empty() ? "?" : converted;
}

// The reference at the start of text and its length, or nothing.
std::optional<std::pair<std::string, size_t>> ReadReference(std::string_view text, TextEncoding encoding)
{
    const size_t end = text.find(';');
    if (end == std::string_view::npos || end < 2 || end > 10)
        return std::nullopt;
    std::string_view name = text.substr(1, end - 1);
    // "&?#x20BB7;" and "&~#x301C;": a character the page gave that code page
    // 932 cannot hold, shown there as "?" or as the full-width tilde (the
    // wave dash of times and sums); itself in UTF-8.
    if (name.starts_with("?#") || name.starts_with("~#")) {
        const auto character = ReadReference(text.substr(1), encoding);
        if (!character)
            return std::nullopt;
        const bool unheld = name[0] == '~' && encoding == TextEncoding::ShiftJis && character->first == "?";
        return std::pair{unheld ? std::string("\x81\x60") : character->first, end + 1};
    }
    if (end > 9)
        return std::nullopt;
    static const std::pair<std::string_view, std::string_view> kNamed[] = {
        {"nbsp", " "}, {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}};
    for (const auto& [known, character] : kNamed) {
        if (SameTextIgnoringCase(name, known))
            return std::pair{std::string(character), end + 1};
    }
    if (name[0] != '#' || name.size() < 2)
        return std::nullopt;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    uint32_t code = 0;
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.empty() || error != std::errc() || last != digits.data() + digits.size())
        return std::nullopt;
    return std::pair{ReferencedCharacter(static_cast<char32_t>(code), encoding), end + 1};
}

} // namespace

std::string DecodeCharacterReferences(std::string_view text, TextEncoding encoding)
{
    // "&", "#", ";", digits and the letters after "&" are single-byte
    // characters: none of them can be the trail byte of what precedes them,
    // since "&" itself never is one.
    std::string decoded;
    decoded.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const size_t amp = text.find('&', at);
        if (amp == std::string_view::npos) {
            decoded += text.substr(at);
            break;
        }
        decoded += text.substr(at, amp - at);
        if (const auto reference = ReadReference(text.substr(amp), encoding)) {
            decoded += reference->first;
            at = amp + reference->second;
        } else {
            decoded += '&';
            at = amp + 1;
        }
    }
    return decoded;
}

std::string RemoveAllText(std::string_view text, std::string_view what)
{
    return ReplaceAllText(text, what, {});
}

std::string FormEncoded(std::string_view utf8, std::string_view keptPunctuation)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        const bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
            || (byte >= '0' && byte <= '9') || keptPunctuation.find(c) != std::string_view::npos;
        if (kept) {
            encoded += c;
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

} // namespace kenmori
