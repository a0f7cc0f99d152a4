#include "run/ProgramFolder.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cerrno>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <signal.h>
#include <sys/types.h>
#endif

namespace kenmori {

// The per-user folders carry a fixed name rather than the application name,
// so the window and kenmori-cli share them whatever each calls itself.
static constexpr const char* kUserFolderName = "kenmori";

std::filesystem::path ProgramFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath().toStdString();
    // Before (or without) an application object, ask the system for the binary.
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    return std::filesystem::current_path(error);
}

bool IsPortableInstallation(const std::filesystem::path& programFolder)
{
    std::error_code error;
    return std::filesystem::is_directory(programFolder / "db", error);
}

static std::filesystem::path UserFolder(QStandardPaths::StandardLocation location)
{
    const std::filesystem::path folder =
        std::filesystem::path(QStandardPaths::writableLocation(location).toStdString()) / kUserFolderName;
    // A folder that cannot be made shows up later as a file that cannot be
    // written, where the caller reports it.
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folder;
}

std::filesystem::path SettingsFolder(const std::filesystem::path& programFolder)
{
    if (IsPortableInstallation(programFolder))
        return programFolder / "db";
    return UserFolder(QStandardPaths::GenericConfigLocation);
}

std::filesystem::path DataFolder(const std::filesystem::path& programFolder)
{
    if (IsPortableInstallation(programFolder))
        return programFolder / "db";
    return UserFolder(QStandardPaths::GenericCacheLocation);
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder)
{
    return SettingsFolder(programFolder) / "km.ini";
}

std::filesystem::path ReferenceDatabasePath(const std::filesystem::path& programFolder)
{
    if (IsPortableInstallation(programFolder))
        return programFolder / "db" / "km_data.db";
    // KENMORI_PROGRAM_TO_DATA: share/kenmori seen from the installed bin folder.
    return (programFolder / KENMORI_PROGRAM_TO_DATA / "km_data.db").lexically_normal();
}

std::filesystem::path HistoryPath(const std::filesystem::path& programFolder)
{
    if (IsPortableInstallation(programFolder))
        return programFolder / "db" / "history.db";
    return UserFolder(QStandardPaths::GenericDataLocation) / "history.db";
}

std::filesystem::path PageFilePath(const std::filesystem::path& programFolder)
{
    return DataFolder(programFolder) / "tmp.dat";
}

std::filesystem::path RunLogPath(const std::filesystem::path& programFolder)
{
    return DataFolder(programFolder) / "run.log";
}

std::filesystem::path KeptListPagePath(const std::filesystem::path& runLog)
{
    return runLog.parent_path() / "last_list_page.html";
}

std::filesystem::path RunnerPageFilePath(long processId)
{
    std::filesystem::path file = PageFilePath();
    file.replace_filename("tmp." + std::to_string(processId) + ".dat");
    return file;
}

// Whether the process with this id has ended. Unknown counts as alive.
static bool ProcessEnded(long processId)
{
#ifdef _WIN32
    (void)processId;
    return false; // the command-line runner, the only maker of these files, is POSIX-only
#else
    // ESRCH: no such process. Any other answer (EPERM) means it lives.
    return processId > 0 && ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH;
#endif
}

void RemoveStalePageFiles()
{
    std::error_code error;
    const std::filesystem::path folder = PageFilePath().parent_path();
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with("tmp.") || !name.ends_with(".dat") || name.size() <= 8)
            continue;
        const std::string digits = name.substr(4, name.size() - 8);
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
            continue;
        if (ProcessEnded(std::stol(digits))) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

} // namespace kenmori
