#pragma once
// Where the program's files live, decided in one place.
//
// Portable: a "db" folder stands next to the program (the build tree, a copy
// unpacked anywhere): settings, reference database, page file and run log
// all live in it, as they always have.
// Installed: no "db" folder, and the program's own folder may be read-only.
// Settings go to the per-user configuration folder, the files of a run to
// the per-user cache folder, and the reference database is read from the
// installation's share/kenmori folder.

#include <filesystem>

namespace kenmori {

std::filesystem::path ProgramFolder();

bool IsPortableInstallation(const std::filesystem::path& programFolder = ProgramFolder());

// The folder of km.ini. A per-user folder is created when missing.
std::filesystem::path SettingsFolder(const std::filesystem::path& programFolder = ProgramFolder());

// The folder of a run's scratch files (page file, run log). A per-user
// folder is created when missing.
std::filesystem::path DataFolder(const std::filesystem::path& programFolder = ProgramFolder());

std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder = ProgramFolder()); // km.ini
std::filesystem::path
ReferenceDatabasePath(const std::filesystem::path& programFolder = ProgramFolder());              // km_data.db
std::filesystem::path PageFilePath(const std::filesystem::path& programFolder = ProgramFolder()); // tmp.dat
// What earlier runs wrote: history.db beside the settings in a portable copy,
// in the per-user data folder when installed.
std::filesystem::path HistoryPath(const std::filesystem::path& programFolder = ProgramFolder());

// run.log beside the page file
std::filesystem::path RunLogPath(const std::filesystem::path& programFolder = ProgramFolder());
// Where a run keeps a list page it could not read: last_list_page.html
// beside its run log.
std::filesystem::path KeptListPagePath(const std::filesystem::path& runLog);

// The page file of one command-line run: tmp.<pid>.dat beside PageFilePath(),
// so that runs sharing the folder keep apart.
std::filesystem::path RunnerPageFilePath(long processId);

// Removes the command-line page files whose process no longer exists: a run
// that was killed leaves its file behind.
void RemoveStalePageFiles();

} // namespace kenmori
