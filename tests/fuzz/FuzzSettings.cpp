// A settings file of any bytes: reading it, then writing the values back
// into it and reading them again.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "run/IniFile.h"
#include "run/SettingsFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

static std::vector<std::string> FileLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A text key holds the start of its stored text: as many whole characters
// as fit in maxBytes, or the key's default when nothing is stored. A digit
// key whose stored text is not all digits keeps its default too.
static void CheckTextKey(const IniFile& ini, std::string_view key, const std::string& value, std::size_t maxBytes,
                         const std::string& fallback, bool digitsOnly = true)
{
    const std::string stored = ini.readString(kSettingsSection, key, "");
    if (stored.empty() || (digitsOnly && stored.find_first_not_of("0123456789") != std::string::npos)) {
        FUZZ_CHECK(value == fallback);
        return;
    }
    FUZZ_CHECK(value.size() <= maxBytes);
    FUZZ_CHECK(stored.starts_with(value));
    if (value.size() == stored.size())
        return;
    const std::vector<std::size_t> starts = CharacterStarts(stored);
    const auto next = std::find(starts.begin(), starts.end(), value.size());
    FUZZ_CHECK(next != starts.end());
    const std::size_t nextEnd = next + 1 == starts.end() ? stored.size() : *(next + 1);
    FUZZ_CHECK(nextEnd > maxBytes);
}

static void CheckTextKeys(const IniFile& ini, const SettingsValues& values)
{
    const SettingsValues defaults;
    CheckTextKey(ini, "CityWord", values.CityWord, kCityWordBytes, defaults.CityWord, false);
    CheckTextKey(ini, "FreeWord", values.FreeWord, kFreeWordBytes, defaults.FreeWord, false);
    CheckTextKey(ini, "Retry", values.Retry, kRetryBytes, defaults.Retry);
    CheckTextKey(ini, "JobNo1", values.JobNo1, kJobNo1Bytes, defaults.JobNo1);
    CheckTextKey(ini, "JobNo2", values.JobNo2, kJobNo2Bytes, defaults.JobNo2);
    CheckTextKey(ini, "JobCode1", values.JobCode1, kJobCodeMajorBytes, defaults.JobCode1);
    CheckTextKey(ini, "JobCode2", values.JobCode2, kJobCodeMinorBytes, defaults.JobCode2);
    CheckTextKey(ini, "JobCode3", values.JobCode3, kJobCodeMajorBytes, defaults.JobCode3);
    CheckTextKey(ini, "JobCode4", values.JobCode4, kJobCodeMinorBytes, defaults.JobCode4);
}

// A text without blanks at its ends and not wrapped in a pair of quotes is
// stored as it is.
static bool KeepsAsWritten(std::string_view text)
{
    if (text.empty() || static_cast<unsigned char>(text.front()) <= 0x20
        || static_cast<unsigned char>(text.back()) <= 0x20)
        return false;
    return text.size() < 2 || (text.front() != '"' && text.front() != '\'') || text.back() != text.front();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    IniFile ini;
    ini.loadFromBytes(InputBytes(data, size));
    const std::string original = ini.toBytes();
    const SettingsValues values = ReadSettings(ini);

    FUZZ_CHECK(values.WordCheck >= 0 && values.WordCheck <= 2);
    CheckTextKeys(ini, values);

    // Writing changes only key lines (those holding "=") and adds at most the
    // section, a blank line and one line per key.
    WriteSettings(ini, values);
    const std::string written = ini.toBytes();
    const std::vector<std::string> before = FileLines(original);
    const std::vector<std::string> after = FileLines(written);
    FUZZ_CHECK(after.size() >= before.size() && after.size() <= before.size() + 2 + 22);
    std::size_t at = 0;
    for (const std::string& line : before) {
        if (line.find('=') != std::string::npos)
            continue;
        while (at < after.size() && after[at] != line)
            ++at;
        FUZZ_CHECK(at < after.size());
        ++at;
    }

    // The file as saved reads back as the values written into it.
    IniFile saved;
    saved.loadFromBytes(written);
    FUZZ_CHECK(saved.toBytes() == written);
    const SettingsValues again = ReadSettings(saved);
    FUZZ_CHECK(again.Region1 == values.Region1 && again.Region2 == values.Region2
               && again.Region3 == values.Region3);
    FUZZ_CHECK(again.JobType == values.JobType && again.JobHaken == values.JobHaken
               && again.JobIndustry == values.JobIndustry && again.JobCheck == values.JobCheck);
    FUZZ_CHECK(again.JobSet1 == values.JobSet1 && again.JobSet2 == values.JobSet2
               && again.JobSet3 == values.JobSet3 && again.RetryCheck == values.RetryCheck);
    FUZZ_CHECK(again.WordCheck == values.WordCheck);
    FUZZ_CHECK(again.JobList == values.JobList);
    FUZZ_CHECK(again.BaseAddress == values.BaseAddress);
    CheckTextKeys(saved, again);
    const std::pair<const std::string&, const std::string&> texts[] = {
        {values.CityWord, again.CityWord}, {values.FreeWord, again.FreeWord}, {values.Retry, again.Retry},
        {values.JobNo1, again.JobNo1},     {values.JobNo2, again.JobNo2},     {values.JobCode1, again.JobCode1},
        {values.JobCode2, again.JobCode2}, {values.JobCode3, again.JobCode3}, {values.JobCode4, again.JobCode4},
    };
    for (const auto& [read, reread] : texts) {
        if (KeepsAsWritten(read))
            FUZZ_CHECK(reread == read);
    }
    return 0;
}
