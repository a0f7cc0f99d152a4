#pragma once
// Eight bytes of text at a time, for the scans that run over whole pages and
// lines: each answer marks a byte by its high bit, exactly (no carry crosses
// from one byte into the next).

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

constexpr std::uint64_t kWordHighBits = 0x8080808080808080u;

// The bytes of word that equal c.
constexpr std::uint64_t WordBytesEqual(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t kLowBits = ~kWordHighBits;
    const std::uint64_t differ = word ^ (0x0101010101010101u * c);
    return ~(((differ & kLowBits) + kLowBits) | differ) & kWordHighBits;
}

// How many of word's bytes, in memory order, come before its first byte of
// 0x80 or above: 8 for an all-ASCII word.
constexpr unsigned LeadingAsciiBytes(std::uint64_t word)
{
    const std::uint64_t high = word & kWordHighBits;
    if (high == 0)
        return 8;
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<unsigned>(std::countr_zero(high)) / 8;
    else
        return static_cast<unsigned>(std::countl_zero(high)) / 8;
}

// The first c in text from from on, or npos, eight bytes at a time.
inline size_t FindByteInWords(std::string_view text, char c, size_t from = 0)
{
    size_t at = from;
    for (; at < text.size() && text.size() - at >= 8; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        const std::uint64_t equal = WordBytesEqual(word, static_cast<unsigned char>(c));
        if (equal != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return at + static_cast<size_t>(std::countr_zero(equal)) / 8;
            else
                return at + static_cast<size_t>(std::countl_zero(equal)) / 8;
        }
    }
    for (; at < text.size(); ++at) {
        if (text[at] == c)
            return at;
    }
    return std::string_view::npos;
}

// The first "<" or ">" in text from from on, or npos, eight bytes at a time:
// the two differ in one bit only, so one comparison finds either.
inline size_t FindAngleBracket(std::string_view text, size_t from = 0)
{
    constexpr std::uint64_t kBracketBit = 0x0202020202020202u;
    size_t at = from;
    for (; at < text.size() && text.size() - at >= 8; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        const std::uint64_t bracket = WordBytesEqual(word & ~kBracketBit, '<');
        if (bracket != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return at + static_cast<size_t>(std::countr_zero(bracket)) / 8;
            else
                return at + static_cast<size_t>(std::countl_zero(bracket)) / 8;
        }
    }
    for (; at < text.size(); ++at) {
        if ((text[at] & ~2) == '<')
            return at;
    }
    return std::string_view::npos;
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
