#pragma once
// Every file the program uses lies in "db" below the folder of its own binary.

#include <filesystem>

std::filesystem::path ProgramFolder();

std::filesystem::path SettingsFilePath();          // db/km.ini
std::filesystem::path ReferenceDatabasePath();     // db/km_data.db
std::filesystem::path PageFilePath();              // db/tmp.dat
std::filesystem::path RunLogPath();                // db/run.log
std::filesystem::path LastListPagePath();          // db/last_list_page.html

// The page file of one command-line run: tmp.<pid>.dat beside PageFilePath(),
// so that runs sharing the folder keep apart.
std::filesystem::path RunnerPageFilePath(long processId);

// Removes the command-line page files whose process no longer exists: a run
// that was killed leaves its file behind.
void RemoveStalePageFiles();
