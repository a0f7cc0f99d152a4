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

#include <string>
#include <string_view>

// True for 0x81-0x9F and 0xE0-0xFC: the byte starts a double-byte character.
bool IsShiftJisLeadByte(unsigned char byte);

// UTF-8 bytes to code page 932. A character without a code page 932 form
// becomes "?", and so does any character outside the BMP; input that is not
// well-formed UTF-8 (bad or missing continuation bytes, overlong forms,
// surrogates) gives the empty text.
std::string Utf8ToShiftJis(std::string_view utf8);

// A code page 932 constant from a UTF-8 source literal, e.g. Sjis("件").
std::string Sjis(std::string_view utf8);

// Code page 932 bytes to UTF-8 (form encoding, terminal, database).
std::string ShiftJisToUtf8(std::string_view sjis);

QString ShiftJisToQString(std::string_view sjis);

// A surrogate pair or a lone surrogate becomes one "?".
std::string QStringToShiftJis(const QString& text);
