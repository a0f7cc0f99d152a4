#pragma once
// Every file the program uses lies in "db" below the folder of its own binary.

#include <filesystem>

std::filesystem::path ProgramFolder();

std::filesystem::path SettingsFilePath();          // db/km.ini
std::filesystem::path ReferenceDatabasePath();     // db/km_data.db
std::filesystem::path PageFilePath();              // db/tmp.dat
