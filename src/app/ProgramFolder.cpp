#include "app/ProgramFolder.h"

#include <QCoreApplication>

#include <cerrno>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <signal.h>
#include <sys/types.h>
#endif

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

std::filesystem::path SettingsFilePath()
{
    return ProgramFolder() / "db" / "km.ini";
}

std::filesystem::path ReferenceDatabasePath()
{
    return ProgramFolder() / "db" / "km_data.db";
}

std::filesystem::path PageFilePath()
{
    return ProgramFolder() / "db" / "tmp.dat";
}

std::filesystem::path RunLogPath()
{
    return ProgramFolder() / "db" / "run.log";
}

std::filesystem::path LastListPagePath()
{
    return ProgramFolder() / "db" / "last_list_page.html";
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
