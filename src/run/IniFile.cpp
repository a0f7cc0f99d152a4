#include "run/IniFile.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <QSaveFile>

#include <charconv>
#include <fstream>
#include <sstream>

namespace kenmori {

namespace {

std::string_view TrimView(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

// "[name]" gives name; any other line gives nothing.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimView(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimView(line.substr(1, close - 1));
}

std::string_view Unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

bool IniFile::load(const std::filesystem::path& path)
{
    m_lines.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    loadFromBytes(bytes.str());
    return true;
}

void IniFile::loadFromBytes(std::string_view bytes)
{
    m_lines.clear();
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        m_lines.emplace_back(bytes.substr(start, end - start));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

std::string IniFile::toBytes() const
{
    std::string bytes;
    for (const std::string& line : m_lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool IniFile::save(const std::filesystem::path& path) const
{
    // Written beside the old file and renamed over it only once complete: a
    // crash or a full disk part-way leaves the old file as it was.
    QSaveFile out(PathToQString(path));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const std::string bytes = toBytes();
    const auto expected = static_cast<qint64>(bytes.size());
    // A short write (a full disk, a size limit) can go unreported until the
    // size on disk is asked for.
    if (out.write(bytes.data(), expected) != expected || !out.flush() || out.size() != expected) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

std::optional<size_t> IniFile::findSection(std::string_view section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionName(m_lines[i]);
        if (name && SameTextIgnoringCase(*name, section))
            return i;
    }
    return std::nullopt;
}

size_t IniFile::sectionEnd(size_t sectionLine) const
{
    size_t end = sectionLine + 1;
    while (end < m_lines.size() && !SectionName(m_lines[end]))
        ++end;
    return end;
}

std::optional<IniFile::KeyLine> IniFile::findKey(size_t sectionLine, std::string_view key) const
{
    const size_t end = sectionEnd(sectionLine);
    for (size_t i = sectionLine + 1; i < end; ++i) {
        const std::string_view line = m_lines[i];
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || TrimView(line).starts_with(';'))
            continue;
        if (SameTextIgnoringCase(TrimView(line.substr(0, equals)), key))
            return KeyLine{i, TrimView(line.substr(equals + 1))};
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto sectionLine = findSection(section);
    if (!sectionLine)
        return std::nullopt;
    const auto keyLine = findKey(*sectionLine, key);
    if (!keyLine)
        return std::nullopt;
    return std::string(Unquoted(keyLine->value));
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    return value(section, key).value_or(std::string(fallback));
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const
{
    const auto text = value(section, key);
    if (!text || text->empty())
        return fallback;
    std::string_view digits = *text;
    bool negative = false;
    if (digits.front() == '-' || digits.front() == '+') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    long long number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number, base);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return fallback;
    if (negative)
        number = -number;
    if (number < INT32_MIN || number > INT32_MAX)
        return fallback;
    return static_cast<int>(number);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string line = std::string(key) + "=" + std::string(value);
    const auto sectionLine = findSection(section);
    if (!sectionLine) {
        if (!m_lines.empty() && !TrimView(m_lines.back()).empty())
            m_lines.emplace_back();
        m_lines.push_back("[" + std::string(section) + "]");
        m_lines.push_back(line);
        return;
    }
    if (const auto keyLine = findKey(*sectionLine, key)) {
        m_lines[keyLine->index] = line;
        return;
    }
    // After the section's last non-blank line, so a blank line before the
    // next section stays where it is.
    size_t insertAt = sectionEnd(*sectionLine);
    while (insertAt > *sectionLine + 1 && TrimView(m_lines[insertAt - 1]).empty())
        --insertAt;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

} // namespace kenmori
