#pragma once
// Eight bytes of text at a time, for the scans that run over whole pages and
// lines: each answer marks a byte by its high bit, exactly (no carry crosses
// from one byte into the next).

#include <cstdint>

constexpr std::uint64_t kWordHighBits = 0x8080808080808080u;

// The bytes of word that equal c.
constexpr std::uint64_t WordBytesEqual(std::uint64_t word, unsigned char c)
{
    constexpr std::uint64_t kLowBits = ~kWordHighBits;
    const std::uint64_t differ = word ^ (0x0101010101010101u * c);
    return ~(((differ & kLowBits) + kLowBits) | differ) & kWordHighBits;
}
