#include "app/ProgramFolder.h"

#include <QCoreApplication>

#include <system_error>

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
