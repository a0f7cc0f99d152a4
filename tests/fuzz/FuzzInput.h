#pragma once
// Small helpers shared by the fuzz targets.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

inline std::string_view InputBytes(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The offsets at which characters start when code page 932 text is walked:
// a lead byte with a byte after it starts a double-byte character.
inline std::vector<std::size_t> CharacterStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size();) {
        starts.push_back(pos);
        const auto byte = static_cast<unsigned char>(text[pos]);
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        pos += lead && pos + 1 < text.size() ? 2 : 1;
    }
    return starts;
}
