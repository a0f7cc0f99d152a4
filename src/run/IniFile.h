#pragma once
// A plain Windows INI file, held as code page 932 bytes and read and written
// as the Windows profile functions do: section and key names without regard
// to case, blanks around names and values ignored, a value in matching
// quotes read without them, lines the program does not write kept as they are.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

class IniFile {
public:
    // False when the file is missing or unreadable (the file is then empty).
    bool load(const std::filesystem::path& path);
    void loadFromBytes(std::string_view bytes);
    // Writes CR LF lines to a new file that replaces the old one only when
    // complete; false (the old file untouched) when it cannot be written.
    bool save(const std::filesystem::path& path) const;
    std::string toBytes() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"; anything else gives the fallback.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;
    // True for any non-zero integer.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the key's value, or adds the key at the end of its section,
    // or adds the section at the end of the file.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

private:
    struct KeyLine {
        size_t index;
        std::string_view value;
    };
    std::optional<size_t> findSection(std::string_view section) const;
    size_t sectionEnd(size_t sectionLine) const;
    std::optional<KeyLine> findKey(size_t sectionLine, std::string_view key) const;

    std::vector<std::string> m_lines;
};

} // namespace kenmori
