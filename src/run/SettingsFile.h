#pragma once
// The conditions and output-field ticks kept in db/km.ini, section [Config],
// from one start of the program to the next. Widget-free, so that the window
// and the command-line runner read and write the same file the same way.
// Texts are code page 932.

#include "run/OutputFormat.h"
#include "run/IniFile.h"
#include "run/OutputFieldCatalog.h"
#include "run/RunRecords.h"
#include "site/SiteConfig.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kenmori {

// The drop-down indexes come as stored: -1 or beyond the list leaves the
// list without a selection.
struct SettingsValues : ConditionValues {
    std::string startPositionText = "0"; // the start position's box text
    // The form of the list the window last saved; not a search condition.
    OutputFormat outputFormat = OutputFormat::ShiftJisCsv;

    // [Site] BaseAddress: read so a test or a demonstration can point the
    // program elsewhere; empty when absent, and never written.
    std::string baseAddress;
};

// The site at [Site] BaseAddress when the settings name one, else the
// site's own address.
SiteConfig SiteConfigForSettings(const SettingsValues& values);

inline constexpr std::string_view kSettingsSection = "Config";

// Box lengths in bytes that read texts are cut to.
inline constexpr std::size_t kCityWordBytes = 100;
inline constexpr std::size_t kFreeWordBytes = 100;
inline constexpr std::size_t kRetryBytes = 7;
inline constexpr std::size_t kJobNo1Bytes = 5;
inline constexpr std::size_t kJobNo2Bytes = 8;
inline constexpr std::size_t kJobCodeMajorBytes = 3;
inline constexpr std::size_t kJobCodeMinorBytes = 2;

// The first maxBytes bytes of text; a double-byte character that the cut
// would split is dropped whole.
std::string CutToBytes(std::string_view text, std::size_t maxBytes);

// The values of the first start: every output field ticked.
SettingsValues FirstStartSettings();

// Reads every key with its default; a text key that is empty keeps the
// default. With cutToBoxes, as the window loads its boxes: a text that is too
// long is cut, and a digit member holding anything but digits stays empty,
// since it would otherwise reach the search body as typed. Without, texts
// come as stored, for FirstInvalidSettingsKey.
SettingsValues ReadSettings(const IniFile& ini, bool cutToBoxes = true);

// The key of the first value that its box would refuse: a digit member
// (JobNo1, JobNo2, JobCode1-4, Retry) with anything but digits or longer than
// its box, or a text longer than the file keeps of it. Empty when every value
// passes. Drop-down indexes out of range are not refused: they count as empty.
std::string FirstInvalidSettingsKey(const SettingsValues& values);

// Writes every key into [Config] in the fixed order; other sections and
// unknown keys stay as they are.
void WriteSettings(IniFile& ini, const SettingsValues& values);

// Nothing when the file does not exist.
std::optional<SettingsValues> ReadSettingsFile(const std::filesystem::path& path);

// Writes nothing and returns false when the file's folder is missing;
// false as well when the file cannot be written.
bool WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& values);

} // namespace kenmori
