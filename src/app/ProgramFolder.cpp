#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <system_error>

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

std::filesystem::path PageFilePath(const std::filesystem::path& programFolder)
{
    return DataFolder(programFolder) / "tmp.dat";
}
