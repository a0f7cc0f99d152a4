#pragma once
// One retrieval run without a window: the same checks and run session and
// CSV as a run started from the window, with the outcome as exit status.

#include "run/RunOutcome.h"
#include "run/SettingsFile.h"
#include "run/OutputFormat.h"
#include "run/RunSession.h"
#include "site/SiteConfig.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kenmori {

class IniFile;

struct CliOptions {
    std::filesystem::path settingsPath; // empty: the values of a first start
    // The condition options over the settings; a non-empty text (UTF-8)
    // rejects them.
    std::function<std::string(SettingsValues&)> applyConditionOptions;
    std::filesystem::path outputPath;
    std::filesystem::path databasePath; // the program's km_data.db
    std::filesystem::path logPath;      // the run log; none when empty
    std::optional<RunPacing> pacing;    // allowed only against this machine
    std::filesystem::path historyPath;  // what earlier runs wrote
    // The form of the list; none: by the file (.xlsx a workbook, else the
    // Shift-JIS CSV; going on, the form the file has).
    std::optional<OutputFormat> format;
    bool resume = false; // go on with an interrupted run in outputPath
    bool forget = false; // forget the search's history instead of running
};

// The settings file: code page 932, or UTF-8 after a byte-order mark, whose
// look-alike characters become their code page 932 forms. False when it
// cannot be read, its UTF-8 is malformed, or it holds a character that code
// page 932 cannot hold (then put in refused).
bool LoadSettingsText(const std::filesystem::path& path, IniFile& ini, QString* refused = nullptr);

// Needs a QCoreApplication: the run session reports through its event loop.
CliExitStatus RunFromCommandLine(const CliOptions& options);

} // namespace kenmori
