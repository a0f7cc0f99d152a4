#pragma once
// The search conditions as kenmori-cli options, each taking the value that
// the window's control takes, applied over the values of the settings file.

#include "run/SettingsFile.h"

#include <string>

class QCommandLineParser;

namespace kenmori {

void AddConditionOptions(QCommandLineParser& parser);

// Applies every condition option that is set. Returns an empty text when all
// were understood, otherwise the message for the user (UTF-8), naming the
// option and, for an unknown name, every valid choice. Values that name
// something are checked here; whether the conditions make a run is left to
// the start checks that the window makes as well.
std::string ApplyConditionOptions(const QCommandLineParser& parser, SettingsValues& values);

} // namespace kenmori
