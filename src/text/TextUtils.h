#pragma once
// Byte-string operations on code page 932 text, shared by every page parser.
// Positions are 1-based byte positions; matching never starts on the trail
// byte of a double-byte character.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// Removes bytes 0x00-0x20 at both ends (the ideographic space stays).
std::string TrimText(std::string_view text);
void TrimInPlace(std::string& text);
// The same, as a view into text.
std::string_view TrimmedView(std::string_view text);

// 1-based position of the first occurrence of needle in text, compared byte
// for byte; 0 when absent or when needle is empty.
int FindText(std::string_view needle, std::string_view text);
bool ContainsText(std::string_view text, std::string_view needle);

// Replaces every occurrence of oldText, ASCII letters compared without case,
// left to right; replaced text is never scanned again.
std::string ReplaceAllText(std::string_view text, std::string_view oldText, std::string_view newText);

// ReplaceAllText with nothing in place of what.
std::string RemoveAllText(std::string_view text, std::string_view what);

// The same on text itself: the rules chain several of these over each line,
// and most find nothing to do.
void ReplaceAllInPlace(std::string& text, std::string_view oldText, std::string_view newText);
void RemoveAllInPlace(std::string& text, std::string_view what);

// Whether ReplaceAllText would find needle in text.
bool ContainsTextIgnoringCase(std::string_view text, std::string_view needle);

// Equal texts, ASCII letters compared without case.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// Equal texts, byte for byte, compared in place: for the many comparisons of
// a few bytes (tag names, line heads), where calling memcmp costs more than
// the comparing.
inline bool SameShortText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Removes every "<...>" tag; everything outside tags stays byte for byte.
std::string StripTags(std::string_view text);
void StripTagsInPlace(std::string& text);

// The chain most value lines go through, in one pass: each tag that equals
// one of spacedTags (whole ASCII tags such as "</div>", any case) becomes a space,
// every other tag goes, and the result is trimmed; what ReplaceAllText of
// each spaced tag by " " in turn, StripTags and TrimText give. Nothing
// where those passes could give something else (a tag holding a "<") or
// where a text of captions stands right before a spaced tag (the caller
// removes captions first): the caller then takes the passes.
std::optional<std::string> SpacedTagsStripped(std::string_view text, std::span<const std::string_view> spacedTags,
                                              std::span<const std::string> captions = {});

// Appends the non-empty pieces between delimiters to list (not cleared).
void SplitText(std::string_view text, std::string_view delimiter, std::vector<std::string>& list);

// Ideographic space, full-width hyphen-minus, hyphen and full-width digits
// to their ASCII forms.
std::string NormalizeDigitsAndDashes(std::string_view text);

// The encoding of a text the core writes out.
enum class TextEncoding { ShiftJis, Utf8 };

// The character references of HTML in text of the given encoding made
// characters, in one pass: "&nbsp;" a plain space, "&amp;", "&lt;", "&gt;",
// "&quot;", and "&#NNN;" / "&#xHH;" (a control character a space, a number
// that names no character "?"; in code page 932 text also a character
// without a code page 932 form, and U+FFFE and U+FFFF, which no document may
// hold). "&?#xHH;" is the same; "&~#xHH;" too, but a character without a code
// page 932 form becomes "～" in code page 932 text.
// Anything else stays as it is.
std::string DecodeCharacterReferences(std::string_view text, TextEncoding encoding = TextEncoding::ShiftJis);

// UTF-8 text form-encoded (application/x-www-form-urlencoded): letters,
// digits and the kept punctuation as they are, a space "+", every other byte
// "%XX". Browsers keep "*-._".
std::string FormEncoded(std::string_view utf8, std::string_view keptPunctuation = "*-._");

// 1-based substring: start below 1 counts as 1, count runs at most to the end.
std::string SubText(std::string_view text, int start, int count);

} // namespace kenmori
