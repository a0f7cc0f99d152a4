#include "run/SettingsFile.h"

#include "run/ConditionTable.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <system_error>

namespace kenmori {

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

// After the conditions' keys, which keep their places.
constexpr std::string_view kOutputFormatKey = "OutputFormat";

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

// The value of a text or digit key as its box takes it: a text too long is
// cut, and digits with anything else in them give nothing, since they would
// otherwise reach the search body as typed.
static std::optional<std::string> BoxText(const ConditionRow& row, const std::string& text)
{
    if (row.kind == ConditionKind::Digits && !AllDigits(text))
        return std::nullopt;
    return CutToBytes(text, row.maxBytes);
}

SettingsValues ReadSettings(const IniFile& ini, bool cutToBoxes)
{
    SettingsValues values;
    for (const ConditionRow& row : ConditionRows()) {
        switch (row.kind) {
        case ConditionKind::DropDown: values.*row.number = ini.readInteger(kSettingsSection, row.key, 0); break;
        case ConditionKind::Check: values.*row.ticked = ini.readBool(kSettingsSection, row.key, false); break;
        case ConditionKind::Text:
        case ConditionKind::Digits: {
            // A text key fills its box only when it holds something.
            const std::string text = ini.readString(kSettingsSection, row.key, "");
            if (text.empty())
                break;
            if (!cutToBoxes)
                values.*row.text = text;
            else if (std::optional<std::string> boxText = BoxText(row, text))
                values.*row.text = std::move(*boxText);
            break;
        }
        case ConditionKind::WordsMode: {
            const int mode = ini.readInteger(kSettingsSection, row.key, 0);
            values.*row.number = (mode == 1 || mode == 2) ? mode : 0;
            break;
        }
        case ConditionKind::FieldTicks: {
            // A short or empty list leaves the missing rows unticked.
            const std::string ticks = ini.readString(kSettingsSection, row.key, "");
            OutputFieldChecks& fields = values.*row.fields;
            for (std::size_t i = 0; i < fields.size(); ++i)
                fields[i] = i < ticks.size() && ticks[i] == '1';
            break;
        }
        }
    }
    values.outputFormat = OutputFormatNamed(ini.readString(kSettingsSection, kOutputFormatKey, ""))
                              .value_or(OutputFormat::ShiftJisCsv);
    values.baseAddress = ini.readString("Site", "BaseAddress", "");
    return values;
}

std::string FirstInvalidSettingsKey(const SettingsValues& values)
{
    for (const ConditionRow& row : ConditionRows()) {
        if (row.kind != ConditionKind::Text && row.kind != ConditionKind::Digits)
            continue;
        const std::string& text = values.*row.text;
        if (text.size() > row.maxBytes || (row.kind == ConditionKind::Digits && !AllDigits(text)))
            return std::string(row.key);
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
    for (const ConditionRow& row : ConditionRows()) {
        switch (row.kind) {
        case ConditionKind::DropDown:
        case ConditionKind::WordsMode: ini.writeInteger(kSettingsSection, row.key, values.*row.number); break;
        case ConditionKind::Check: ini.writeBool(kSettingsSection, row.key, values.*row.ticked); break;
        case ConditionKind::Text:
        case ConditionKind::Digits: ini.writeString(kSettingsSection, row.key, OneLine(values.*row.text)); break;
        case ConditionKind::FieldTicks: {
            std::string ticks;
            for (const bool ticked : values.*row.fields)
                ticks += ticked ? '1' : '0';
            ini.writeString(kSettingsSection, row.key, ticks);
            break;
        }
        }
    }
    ini.writeString(kSettingsSection, kOutputFormatKey, std::string(OutputFormatName(values.outputFormat)));
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
    return SiteConfigFor(TrimText(values.baseAddress));
}

} // namespace kenmori
