#include "text/CodePage932.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "text/CodePage932Table.inc"
#include "text/WordBytes.h"

namespace kenmori {

// Windows shows this for a code it cannot decode.
static constexpr char16_t kUndecodable = 0x30FB;

// Direct index from a BMP code unit to its code; 0 means "no form". Built at
// compile time so the hot path is one load and nothing needs initialising.
static constexpr std::array<std::uint16_t, 0x10000> BuildEncodeIndex()
{
    std::array<std::uint16_t, 0x10000> index{};
    for (const Cp932EncodeEntry& entry : kCp932Encode)
        index[entry.codePoint] = entry.code;
    return index;
}

static constexpr std::array<std::uint16_t, 0x10000> kEncodeIndex = BuildEncodeIndex();

static bool IsTrailByte(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

static int LeadRow(unsigned char lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F;
}

// Writes the 932 form of one character at out; gives the end.
static char* WriteEncoded(char* out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
        return out;
    }
    const std::uint16_t code = codePoint <= 0xFFFF ? kEncodeIndex[codePoint] : 0;
    if (code == 0) {
        *out++ = '?';
    } else if (code < 0x100) {
        *out++ = static_cast<char>(code);
    } else {
        *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
    }
    return out;
}

static void AppendEncoded(std::string& out, char32_t codePoint)
{
    char encoded[2] = {};
    const char* end = WriteEncoded(encoded, codePoint);
    out.append(encoded, end == encoded + 2 ? 2u : 1u);
}

// "&?#x20BB7;": a numeric reference marked as made here, not by the page,
// so that the rules can tell the two apart.
static std::string NumericReference(char32_t codePoint)
{
    char text[16];
    std::snprintf(text, sizeof text, "&?#x%X;", static_cast<unsigned>(codePoint));
    return text;
}

// Unmappable: what a character without a code page 932 form becomes.
enum class Unmappable { Question, Reference };

static bool AppendConverted(std::string& out, std::string_view utf8, Unmappable unmappable)
{
    const std::size_t size = utf8.size();
    const std::size_t start = out.size();
    // Every UTF-8 sequence turns into at most as many 932 bytes.
    out.resize(start + size);
    char* to = out.data() + start;
    const auto fail = [&] {
        out.resize(start);
        return false;
    };
    // A reference is longer than the character it stands for: the room
    // grows by its length, so the room left still covers the input left.
    const auto writeReference = [&](char32_t codePoint) {
        const std::string reference = NumericReference(codePoint);
        const std::size_t at = static_cast<std::size_t>(to - out.data());
        out.resize(out.size() + reference.size());
        std::memcpy(out.data() + at, reference.data(), reference.size());
        return out.data() + at + reference.size();
    };
    std::size_t pos = 0;
    while (pos < size) {
        const auto first = static_cast<unsigned char>(utf8[pos]);
        if (first < 0x80) {
            // Markup is mostly ASCII, which stays as it is: eight bytes at a
            // time while they last. Writing a whole word is safe: the output
            // so far is never longer than the input read.
            while (size - pos >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, utf8.data() + pos, sizeof word);
                std::memcpy(to, &word, sizeof word);
                const unsigned ascii = LeadingAsciiBytes(word);
                if (ascii < 8) {
                    to += ascii;
                    pos += ascii;
                    break;
                }
                to += 8;
                pos += 8;
            }
            while (pos < size && static_cast<unsigned char>(utf8[pos]) < 0x80)
                *to++ = utf8[pos++];
            continue;
        }
        // Japanese text is almost all three-byte sequences: those first.
        if (first >= 0xE1 && first <= 0xEF && first != 0xED && size - pos >= 3) {
            const auto second = static_cast<unsigned char>(utf8[pos + 1]);
            const auto third = static_cast<unsigned char>(utf8[pos + 2]);
            if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80) {
                const char32_t codePoint = ((first & 0x0Fu) << 12) | ((second & 0x3Fu) << 6) | (third & 0x3Fu);
                const std::uint16_t code = kEncodeIndex[codePoint];
                if (code == 0 && unmappable == Unmappable::Reference) {
                    to = writeReference(codePoint);
                } else if (code > 0xFF) {
                    *to++ = static_cast<char>(code >> 8);
                    *to++ = static_cast<char>(code & 0xFF);
                } else {
                    *to++ = code != 0 ? static_cast<char>(code) : '?';
                }
                pos += 3;
                continue;
            }
        }
        std::size_t length = 0;
        char32_t codePoint = 0;
        // 0x80-0xBF cannot start a sequence; 0xC0/0xC1 only start overlong ones.
        if (first < 0xC2)
            return fail();
        if (first < 0xE0) {
            length = 2;
            codePoint = first & 0x1F;
        } else if (first < 0xF0) {
            length = 3;
            codePoint = first & 0x0F;
        } else if (first < 0xF5) {
            length = 4;
            codePoint = first & 0x07;
        } else {
            return fail();
        }
        if (size - pos < length)
            return fail();
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[pos + k]);
            if ((next & 0xC0) != 0x80)
                return fail();
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
            return fail();
        if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF))
            return fail();
        const bool unmapped = codePoint > 0xFFFF || kEncodeIndex[codePoint] == 0;
        to = unmapped && unmappable == Unmappable::Reference ? writeReference(codePoint)
                                                             : WriteEncoded(to, codePoint);
        pos += length;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return true;
}

bool AppendShiftJis(std::string& out, std::string_view utf8)
{
    return AppendConverted(out, utf8, Unmappable::Question);
}

bool HasCodePage932Form(char32_t codePoint)
{
    return codePoint < 0x80 || (codePoint <= 0xFFFF && kEncodeIndex[codePoint] != 0);
}

std::string Utf8ToShiftJisWithReferences(std::string_view utf8)
{
    std::string out;
    AppendConverted(out, utf8, Unmappable::Reference);
    return out;
}

std::string Utf8ToShiftJis(std::string_view utf8)
{
    std::string out;
    AppendShiftJis(out, utf8);
    return out;
}

std::string Sjis(std::string_view utf8)
{
    return Utf8ToShiftJis(utf8);
}

// Walks 932 text and hands each character, as a UTF-16 code unit, to sink.
template <typename Sink>
static void DecodeShiftJis(std::string_view sjis, Sink&& sink)
{
    const std::size_t size = sjis.size();
    std::size_t pos = 0;
    while (pos < size) {
        const auto byte = static_cast<unsigned char>(sjis[pos]);
        if (byte < 0x80) {
            sink(static_cast<char16_t>(byte));
            ++pos;
        } else if (!IsShiftJisLeadByte(byte)) {
            const char16_t unit = kCp932DecodeHigh[byte - 0x80];
            sink(unit != 0 ? unit : kUndecodable);
            ++pos;
        } else if (pos + 1 < size && IsTrailByte(static_cast<unsigned char>(sjis[pos + 1]))) {
            const auto trail = static_cast<unsigned char>(sjis[pos + 1]);
            const char16_t unit = kCp932DecodeRows[LeadRow(byte)][trail - 0x40];
            sink(unit != 0 ? unit : kUndecodable);
            pos += 2;
        } else {
            // The next byte cannot belong to this one: it is read on its own.
            sink(kUndecodable);
            ++pos;
        }
    }
}

std::string ShiftJisToUtf8(std::string_view sjis)
{
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    DecodeShiftJis(sjis, [&out](char16_t unit) {
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (unit < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (unit >> 6)));
            out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (unit >> 12)));
            out.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
        }
    });
    return out;
}

QString ShiftJisToQString(std::string_view sjis)
{
    QString out;
    out.reserve(static_cast<qsizetype>(sjis.size()));
    DecodeShiftJis(sjis, [&out](char16_t unit) { out.append(QChar(unit)); });
    return out;
}

std::string QStringToShiftJis(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) * 2);
    const qsizetype size = text.size();
    for (qsizetype pos = 0; pos < size; ++pos) {
        const char16_t unit = text.at(pos).unicode();
        if (QChar::isHighSurrogate(unit) && pos + 1 < size && QChar::isLowSurrogate(text.at(pos + 1).unicode())) {
            // Nothing outside the BMP has a 932 form: one "?" per character.
            out.push_back('?');
            ++pos;
        } else if (QChar::isSurrogate(unit)) {
            out.push_back('?');
        } else {
            AppendEncoded(out, unit);
        }
    }
    return out;
}

QString WithCodePage932Forms(const QString& text)
{
    static constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
        {u'\u301C', u'\uFF5E'}, {u'\u2212', u'\uFF0D'}, {u'\u2016', u'\u2225'}, {u'\u2014', u'\u2015'},
        {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'}, {u'\u00A6', u'\uFFE4'},
    };
    QString out = text;
    for (QChar& character : out) {
        for (const auto& [from, to] : kLookAlikes) {
            if (character.unicode() == from)
                character = QChar(to);
        }
    }
    return out;
}

QString FirstCharacterWithoutCodePage932Form(const QString& text)
{
    const qsizetype size = text.size();
    for (qsizetype pos = 0; pos < size; ++pos) {
        const char16_t unit = text.at(pos).unicode();
        if (QChar::isHighSurrogate(unit) && pos + 1 < size && QChar::isLowSurrogate(text.at(pos + 1).unicode()))
            return text.mid(pos, 2);
        if (QChar::isSurrogate(unit))
            return text.mid(pos, 1);
        std::string encoded;
        AppendEncoded(encoded, unit);
        if (encoded == "?" && unit != u'?')
            return text.mid(pos, 1);
    }
    return {};
}

} // namespace kenmori
