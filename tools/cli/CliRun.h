#pragma once
// One retrieval run without a window: the same checks, warm-up, worker and
// CSV as a run started from the window, with the outcome as exit status.

#include "worker/RunPacing.h"

#include <filesystem>

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
    std::filesystem::path settingsPath;
    std::filesystem::path outputPath;
    std::filesystem::path databasePath; // db/km_data.db next to the program
    RunPacing pacing;
};

// The settings file: code page 932, or UTF-8 after a byte-order mark.
// False when it cannot be read or its UTF-8 is malformed.
bool LoadSettingsText(const std::filesystem::path& path, IniFile& ini);

// Needs a QCoreApplication: the worker reports through its event loop.
CliExitStatus RunFromCommandLine(const CliOptions& options);
