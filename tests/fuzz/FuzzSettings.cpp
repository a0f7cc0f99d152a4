// A settings file of any bytes: reading it, then writing the values back
// into it and reading them again.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "run/IniFile.h"
#include "run/ConditionTable.h"
#include "run/SettingsFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace kenmori;

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
    CheckTextKey(ini, "CityWord", values.cityNames, kCityWordBytes, defaults.cityNames, false);
    CheckTextKey(ini, "FreeWord", values.freeWords, kFreeWordBytes, defaults.freeWords, false);
    CheckTextKey(ini, "Retry", values.startPositionText, kRetryBytes, defaults.startPositionText);
    CheckTextKey(ini, "JobNo1", values.jobSeekerNumber1, kJobNo1Bytes, defaults.jobSeekerNumber1);
    CheckTextKey(ini, "JobNo2", values.jobSeekerNumber2, kJobNo2Bytes, defaults.jobSeekerNumber2);
    CheckTextKey(ini, "JobCode1", values.categoryMajor1, kJobCodeMajorBytes, defaults.categoryMajor1);
    CheckTextKey(ini, "JobCode2", values.categoryMinor1, kJobCodeMinorBytes, defaults.categoryMinor1);
    CheckTextKey(ini, "JobCode3", values.categoryMajor2, kJobCodeMajorBytes, defaults.categoryMajor2);
    CheckTextKey(ini, "JobCode4", values.categoryMinor2, kJobCodeMinorBytes, defaults.categoryMinor2);
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

    FUZZ_CHECK(values.wordsMode >= 0 && values.wordsMode <= 2);
    CheckTextKeys(ini, values);

    // Writing changes only key lines (those holding "=") and adds at most the
    // section, a blank line and one line per key: the conditions' and the
    // output form's.
    WriteSettings(ini, values);
    const std::string written = ini.toBytes();
    const std::vector<std::string> before = FileLines(original);
    const std::vector<std::string> after = FileLines(written);
    FUZZ_CHECK(after.size() >= before.size() && after.size() <= before.size() + 3 + ConditionRows().size());
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
    FUZZ_CHECK(again.prefecture1 == values.prefecture1 && again.prefecture2 == values.prefecture2
               && again.prefecture3 == values.prefecture3);
    FUZZ_CHECK(again.occupation == values.occupation && again.dispatch == values.dispatch
               && again.industry == values.industry && again.postingKind == values.postingKind);
    FUZZ_CHECK(again.recentTwoDays == values.recentTwoDays && again.recentWeek == values.recentWeek
               && again.namedOnly == values.namedOnly && again.useStartPosition == values.useStartPosition);
    FUZZ_CHECK(again.wordsMode == values.wordsMode);
    FUZZ_CHECK(again.outputFields == values.outputFields);
    FUZZ_CHECK(again.baseAddress == values.baseAddress);
    CheckTextKeys(saved, again);
    const std::pair<const std::string&, const std::string&> texts[] = {
        {values.cityNames, again.cityNames},
        {values.freeWords, again.freeWords},
        {values.startPositionText, again.startPositionText},
        {values.jobSeekerNumber1, again.jobSeekerNumber1},
        {values.jobSeekerNumber2, again.jobSeekerNumber2},
        {values.categoryMajor1, again.categoryMajor1},
        {values.categoryMinor1, again.categoryMinor1},
        {values.categoryMajor2, again.categoryMajor2},
        {values.categoryMinor2, again.categoryMinor2},
    };
    for (const auto& [read, reread] : texts) {
        if (KeepsAsWritten(read))
            FUZZ_CHECK(reread == read);
    }
    return 0;
}
