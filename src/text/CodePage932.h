#pragma once
// Code page 932 (Windows Shift-JIS): the encoding of every text the core holds.
// Pages arrive as UTF-8, the window speaks QString; both convert here.
//
// Decoding follows Windows: NEC and IBM extensions and the user-defined area
// (0xF040-0xF9FC -> U+E000...) decode; an undefined code, or a lead byte
// without a usable trail byte, gives U+30FB. Encoding only uses codes that
// decode back to the same character; where several do, the one Windows
// writes wins (so U+FF5E is 0x8160, while U+301C and U+2212 become "?").

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace kenmori {

// True for 0x81-0x9F and 0xE0-0xFC: the byte starts a double-byte character.
// Inline: every byte-wise text operation asks it for every byte.
inline bool IsShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// UTF-8 bytes to code page 932. A character without a code page 932 form
// becomes "?", and so does any character outside the BMP; input that is not
// well-formed UTF-8 (bad or missing continuation bytes, overlong forms,
// surrogates) gives the empty text.
std::string Utf8ToShiftJis(std::string_view utf8);
// The same appended to out; false, with out as it was, for input that is not
// well-formed UTF-8. For many texts into one buffer.
bool AppendShiftJis(std::string& out, std::string_view utf8);

// Page text to code page 932 as above, but a character without a code page
// 932 form becomes a numeric character reference marked as made here
// ("&?#x20BB7;"): the code page 932 output still shows "?", the UTF-8 output
// gives the character back (DecodeCharacterReferences).
std::string Utf8ToShiftJisWithReferences(std::string_view utf8);

// A code page 932 constant from a UTF-8 source literal, e.g. Sjis("件").
std::string Sjis(std::string_view utf8);

// Whether the character has a code page 932 form (ASCII has).
bool HasCodePage932Form(char32_t codePoint);

// Code page 932 bytes to UTF-8 (form encoding, terminal, database).
std::string ShiftJisToUtf8(std::string_view sjis);

QString ShiftJisToQString(std::string_view sjis);

// A file's path as Qt takes it, whatever its characters.
inline QString PathToQString(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

// A surrogate pair or a lone surrogate becomes one "?".
std::string QStringToShiftJis(const QString& text);

// Text the user typed or wrote into a settings file, with the characters that
// input methods and other encodings use for what code page 932 writes
// differently made the code page's own: U+301C wave dash to U+FF5E, U+2212
// minus to U+FF0D, U+2016 to U+2225, U+2014 to U+2015, U+00A2, U+00A3,
// U+00AC and U+00A6 to their full-width forms. Page text never goes through
// this: the page's own characters are kept as sent.
QString WithCodePage932Forms(const QString& text);

// The first character of text that code page 932 cannot hold (a surrogate
// pair whole), or the empty text when there is none.
QString FirstCharacterWithoutCodePage932Form(const QString& text);

} // namespace kenmori
