#include "run/SettingsFile.h"

#include "text/CodePage932.h"
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
    values.JobList.fill(true);
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
    values.Region1 = ini.readInteger(kSettingsSection, "Region1", 0);
    values.Region2 = ini.readInteger(kSettingsSection, "Region2", 0);
    values.Region3 = ini.readInteger(kSettingsSection, "Region3", 0);
    values.JobType = ini.readInteger(kSettingsSection, "JobType", 0);
    values.JobHaken = ini.readInteger(kSettingsSection, "JobHaken", 0);
    values.JobIndustry = ini.readInteger(kSettingsSection, "JobIndustry", 0);
    values.JobSet1 = ini.readBool(kSettingsSection, "JobSet1", false);
    values.JobSet2 = ini.readBool(kSettingsSection, "JobSet2", false);
    values.JobSet3 = ini.readBool(kSettingsSection, "JobSet3", false);
    values.RetryCheck = ini.readBool(kSettingsSection, "RetryCheck", false);
    values.JobCheck = ini.readInteger(kSettingsSection, "JobCheck", 0);
    readText("CityWord", kCityWordBytes, values.CityWord);
    readText("FreeWord", kFreeWordBytes, values.FreeWord);
    readDigits("Retry", kRetryBytes, values.Retry);
    readDigits("JobNo1", kJobNo1Bytes, values.JobNo1);
    readDigits("JobNo2", kJobNo2Bytes, values.JobNo2);
    readDigits("JobCode1", kJobCodeMajorBytes, values.JobCode1);
    readDigits("JobCode2", kJobCodeMinorBytes, values.JobCode2);
    readDigits("JobCode3", kJobCodeMajorBytes, values.JobCode3);
    readDigits("JobCode4", kJobCodeMinorBytes, values.JobCode4);

    const int wordCheck = ini.readInteger(kSettingsSection, "WordCheck", 0);
    values.WordCheck = (wordCheck == 1 || wordCheck == 2) ? wordCheck : 0;

    // A short or empty list leaves the missing rows unticked.
    const std::string jobList = ini.readString(kSettingsSection, "JobList", "");
    for (std::size_t i = 0; i < values.JobList.size(); ++i)
        values.JobList[i] = i < jobList.size() && jobList[i] == '1';

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
        {"CityWord", values.CityWord, kCityWordBytes, false},
        {"FreeWord", values.FreeWord, kFreeWordBytes, false},
        {"Retry", values.Retry, kRetryBytes, true},
        {"JobNo1", values.JobNo1, kJobNo1Bytes, true},
        {"JobNo2", values.JobNo2, kJobNo2Bytes, true},
        {"JobCode1", values.JobCode1, kJobCodeMajorBytes, true},
        {"JobCode2", values.JobCode2, kJobCodeMinorBytes, true},
        {"JobCode3", values.JobCode3, kJobCodeMajorBytes, true},
        {"JobCode4", values.JobCode4, kJobCodeMinorBytes, true},
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
    ini.writeInteger(kSettingsSection, "Region1", values.Region1);
    ini.writeInteger(kSettingsSection, "Region2", values.Region2);
    ini.writeInteger(kSettingsSection, "Region3", values.Region3);
    ini.writeInteger(kSettingsSection, "JobType", values.JobType);
    ini.writeInteger(kSettingsSection, "JobHaken", values.JobHaken);
    ini.writeInteger(kSettingsSection, "JobIndustry", values.JobIndustry);
    ini.writeBool(kSettingsSection, "JobSet1", values.JobSet1);
    ini.writeBool(kSettingsSection, "JobSet2", values.JobSet2);
    ini.writeBool(kSettingsSection, "JobSet3", values.JobSet3);
    ini.writeBool(kSettingsSection, "RetryCheck", values.RetryCheck);
    ini.writeInteger(kSettingsSection, "JobCheck", values.JobCheck);
    text("CityWord", values.CityWord);
    text("FreeWord", values.FreeWord);
    text("Retry", values.Retry);
    text("JobNo1", values.JobNo1);
    text("JobNo2", values.JobNo2);
    text("JobCode1", values.JobCode1);
    text("JobCode2", values.JobCode2);
    text("JobCode3", values.JobCode3);
    text("JobCode4", values.JobCode4);
    ini.writeInteger(kSettingsSection, "WordCheck", values.WordCheck);

    std::string jobList;
    for (const bool ticked : values.JobList)
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

SiteConfig SiteConfigForSettings(const SettingsValues& values)
{
    return SiteConfigFor(TrimText(values.BaseAddress));
}
