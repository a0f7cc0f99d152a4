#pragma once
// Eight bytes of text at a time, for the scans that run over whole pages and
// lines: each answer marks a byte by its high bit, exactly (no carry crosses
// from one byte into the next).

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kenmori {

constexpr std::uint64_t kWordHighBits = 0x8080808080808080u;

// The bytes of word that equal c.
constexpr std::uint64_t WordBytesEqual(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t kLowBits = ~kWordHighBits;
    const std::uint64_t differ = word ^ (0x0101010101010101u * c);
    return ~(((differ & kLowBits) + kLowBits) | differ) & kWordHighBits;
}

// The place, in memory order, of the first byte marked in marks (not 0).
constexpr unsigned FirstMarkedByte(std::uint64_t marks)
{
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<unsigned>(std::countr_zero(marks)) / 8;
    else
        return static_cast<unsigned>(std::countl_zero(marks)) / 8;
}

// How many of word's bytes, in memory order, come before its first byte of
// 0x80 or above: 8 for an all-ASCII word.
constexpr unsigned LeadingAsciiBytes(std::uint64_t word)
{
    const std::uint64_t high = word & kWordHighBits;
    return high == 0 ? 8 : FirstMarkedByte(high);
}

// The first byte in text from from on that wordMarks marks in its word of
// eight (the last few bytes: that isWanted accepts), or npos.
template <typename WordMarks, typename IsWanted>
size_t FindInWords(std::string_view text, size_t from, WordMarks wordMarks, IsWanted isWanted)
{
    size_t at = from;
    for (; at < text.size() && text.size() - at >= 8; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        const std::uint64_t marks = wordMarks(word);
        if (marks != 0)
            return at + FirstMarkedByte(marks);
    }
    for (; at < text.size(); ++at) {
        if (isWanted(text[at]))
            return at;
    }
    return std::string_view::npos;
}

// The first c in text from from on, or npos, eight bytes at a time.
inline size_t FindByteInWords(std::string_view text, char c, size_t from = 0)
{
    return FindInWords(
        text, from, [c](std::uint64_t word) { return WordBytesEqual(word, static_cast<unsigned char>(c)); },
        [c](char byte) { return byte == c; });
}

// The first "<" or ">" in text from from on, or npos, eight bytes at a time:
// the two differ in one bit only, so one comparison finds either.
inline size_t FindAngleBracket(std::string_view text, size_t from = 0)
{
    constexpr std::uint64_t kBracketBit = 0x0202020202020202u;
    return FindInWords(
        text, from, [](std::uint64_t word) { return WordBytesEqual(word & ~kBracketBit, '<'); },
        [](char byte) { return (byte & ~2) == '<'; });
}

// The same for a text of any length: lines and fields are mostly short,
// where memchr's setup costs more than it saves; memchr only for long texts.
inline size_t FindByte(std::string_view text, char c, size_t from = 0)
{
    constexpr size_t kShort = 64;
    if (from >= text.size())
        return std::string_view::npos;
    if (text.size() - from > kShort)
        return text.find(c, from);
    return FindByteInWords(text, c, from);
}

} // namespace kenmori
