#include "run/SettingsFile.h"

#include "text/CodePage932.h"
#include "site/SiteAccess.h"
#include "text/TextUtils.h"

#include <system_error>

std::string CutToBytes(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size() && end < maxBytes) {
        const bool doubleByte = IsShiftJisLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
        const std::size_t width = doubleByte ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return std::string(text.substr(0, end));
}

SettingsValues FirstStartSettings()
{
    SettingsValues values;
    values.outputFields.fill(true);
    return values;
}

static bool AllDigits(std::string_view text)
{
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

SettingsValues ReadSettings(const IniFile& ini, bool cutToBoxes)
{
    // A text key fills its box only when it holds something.
    const auto readText = [&ini, cutToBoxes](std::string_view key, std::size_t maxBytes, std::string& target) {
        const std::string text = ini.readString(kSettingsSection, key, "");
        if (!text.empty())
            target = cutToBoxes ? CutToBytes(text, maxBytes) : text;
    };
    const auto readDigits = [&ini, cutToBoxes](std::string_view key, std::size_t maxBytes, std::string& target) {
        const std::string text = ini.readString(kSettingsSection, key, "");
        if (text.empty())
            return;
        if (!cutToBoxes)
            target = text;
        else if (AllDigits(text))
            target = CutToBytes(text, maxBytes);
    };

    SettingsValues values;
    values.prefecture1 = ini.readInteger(kSettingsSection, "Region1", 0);
    values.prefecture2 = ini.readInteger(kSettingsSection, "Region2", 0);
    values.prefecture3 = ini.readInteger(kSettingsSection, "Region3", 0);
    values.occupation = ini.readInteger(kSettingsSection, "JobType", 0);
    values.dispatch = ini.readInteger(kSettingsSection, "JobHaken", 0);
    values.industry = ini.readInteger(kSettingsSection, "JobIndustry", 0);
    values.recentTwoDays = ini.readBool(kSettingsSection, "JobSet1", false);
    values.recentWeek = ini.readBool(kSettingsSection, "JobSet2", false);
    values.namedOnly = ini.readBool(kSettingsSection, "JobSet3", false);
    values.useStartPosition = ini.readBool(kSettingsSection, "RetryCheck", false);
    values.postingKind = ini.readInteger(kSettingsSection, "JobCheck", 0);
    readText("CityWord", kCityWordBytes, values.cityNames);
    readText("FreeWord", kFreeWordBytes, values.freeWords);
    readDigits("Retry", kRetryBytes, values.startPositionText);
    readDigits("JobNo1", kJobNo1Bytes, values.jobSeekerNumber1);
    readDigits("JobNo2", kJobNo2Bytes, values.jobSeekerNumber2);
    readDigits("JobCode1", kJobCodeMajorBytes, values.categoryMajor1);
    readDigits("JobCode2", kJobCodeMinorBytes, values.categoryMinor1);
    readDigits("JobCode3", kJobCodeMajorBytes, values.categoryMajor2);
    readDigits("JobCode4", kJobCodeMinorBytes, values.categoryMinor2);

    const int wordCheck = ini.readInteger(kSettingsSection, "WordCheck", 0);
    values.wordsMode = (wordCheck == 1 || wordCheck == 2) ? wordCheck : 0;

    // A short or empty list leaves the missing rows unticked.
    const std::string jobList = ini.readString(kSettingsSection, "JobList", "");
    for (std::size_t i = 0; i < values.outputFields.size(); ++i)
        values.outputFields[i] = i < jobList.size() && jobList[i] == '1';

    values.BaseAddress = ini.readString("Site", "BaseAddress", "");
    return values;
}

std::string FirstInvalidSettingsKey(const SettingsValues& values)
{
    const struct {
        const char* key;
        const std::string& value;
        std::size_t maxBytes;
        bool digits;
    } members[] = {
        {"CityWord", values.cityNames, kCityWordBytes, false},
        {"FreeWord", values.freeWords, kFreeWordBytes, false},
        {"Retry", values.startPositionText, kRetryBytes, true},
        {"JobNo1", values.jobSeekerNumber1, kJobNo1Bytes, true},
        {"JobNo2", values.jobSeekerNumber2, kJobNo2Bytes, true},
        {"JobCode1", values.categoryMajor1, kJobCodeMajorBytes, true},
        {"JobCode2", values.categoryMinor1, kJobCodeMinorBytes, true},
        {"JobCode3", values.categoryMajor2, kJobCodeMajorBytes, true},
        {"JobCode4", values.categoryMinor2, kJobCodeMinorBytes, true},
    };
    for (const auto& member : members) {
        if (member.value.size() > member.maxBytes || (member.digits && !AllDigits(member.value)))
            return member.key;
    }
    return {};
}

// A line break inside a value would end the line and start a forged key.
static std::string OneLine(std::string text)
{
    for (char& byte : text) {
        if (byte == '\r' || byte == '\n')
            byte = ' ';
    }
    return text;
}

void WriteSettings(IniFile& ini, const SettingsValues& values)
{
    const auto text = [&ini](std::string_view key, const std::string& value) {
        ini.writeString(kSettingsSection, key, OneLine(value));
    };
    ini.writeInteger(kSettingsSection, "Region1", values.prefecture1);
    ini.writeInteger(kSettingsSection, "Region2", values.prefecture2);
    ini.writeInteger(kSettingsSection, "Region3", values.prefecture3);
    ini.writeInteger(kSettingsSection, "JobType", values.occupation);
    ini.writeInteger(kSettingsSection, "JobHaken", values.dispatch);
    ini.writeInteger(kSettingsSection, "JobIndustry", values.industry);
    ini.writeBool(kSettingsSection, "JobSet1", values.recentTwoDays);
    ini.writeBool(kSettingsSection, "JobSet2", values.recentWeek);
    ini.writeBool(kSettingsSection, "JobSet3", values.namedOnly);
    ini.writeBool(kSettingsSection, "RetryCheck", values.useStartPosition);
    ini.writeInteger(kSettingsSection, "JobCheck", values.postingKind);
    text("CityWord", values.cityNames);
    text("FreeWord", values.freeWords);
    text("Retry", values.startPositionText);
    text("JobNo1", values.jobSeekerNumber1);
    text("JobNo2", values.jobSeekerNumber2);
    text("JobCode1", values.categoryMajor1);
    text("JobCode2", values.categoryMinor1);
    text("JobCode3", values.categoryMajor2);
    text("JobCode4", values.categoryMinor2);
    ini.writeInteger(kSettingsSection, "WordCheck", values.wordsMode);

    std::string jobList;
    for (const bool ticked : values.outputFields)
        jobList += ticked ? '1' : '0';
    ini.writeString(kSettingsSection, "JobList", jobList);
}

std::optional<SettingsValues> ReadSettingsFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    IniFile ini;
    ini.load(path);
    return ReadSettings(ini);
}

bool WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& values)
{
    std::error_code error;
    if (!std::filesystem::is_directory(path.parent_path(), error))
        return false;
    IniFile ini;
    ini.load(path); // a missing file starts empty
    WriteSettings(ini, values);
    return ini.save(path);
}

void ApplySiteAddress(const SettingsValues& values)
{
    const std::string address = TrimText(values.BaseAddress);
    if (!address.empty())
        SetSiteBaseAddress(address);
}
