#pragma once
// One retrieval run without a window: the same checks, warm-up, worker and
// CSV as a run started from the window, with the outcome as exit status.

#include "app/SettingsFile.h"
#include "worker/RunPacing.h"

#include <filesystem>
#include <functional>
#include <string>

class IniFile;

enum CliExitStatus {
    kExitLinesWritten = 0,
    kExitNothingFound = 1,
    kExitStopped = 2,
    kExitInvalidConditions = 3,
    kExitOutputFailed = 4,
    kExitUnknownJobSeeker = 8,
    kExitSiteUnreachable = 9,
};

struct CliOptions {
    std::filesystem::path settingsPath; // empty: the values of a first start
    // The condition options over the settings; a non-empty text (UTF-8)
    // rejects them.
    std::function<std::string(SettingsValues&)> applyConditionOptions;
    std::filesystem::path outputPath;
    std::filesystem::path databasePath; // the program's km_data.db
    RunPacing pacing;
};

// The settings file: code page 932, or UTF-8 after a byte-order mark.
// False when it cannot be read or its UTF-8 is malformed.
bool LoadSettingsText(const std::filesystem::path& path, IniFile& ini);

// Needs a QCoreApplication: the worker reports through its event loop.
CliExitStatus RunFromCommandLine(const CliOptions& options);
