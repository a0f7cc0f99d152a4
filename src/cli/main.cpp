// kenmori-cli: one retrieval run without a window, for scheduled use.
//   kenmori-cli --output FILE [--settings FILE] [condition options] [--database FILE] [--log FILE]

#include "CliOptions.h"
#include "CliRun.h"
#include "StopSignal.h"

#include "run/ProgramFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace kenmori;

static std::filesystem::path PathOption(const QCommandLineParser& parser, const QString& name)
{
    return std::filesystem::path(parser.value(name).toStdString());
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KENMORI_VERSION));
    InstallStopSignalHandlers();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Collects job postings into a CSV file or an Excel workbook without a window.\n"
        "Exit status: 0 lines written, 1 nothing found, 2 stopped (Ctrl-C), 3 invalid\n"
        "conditions or settings, 4 output file not writable, 5 incomplete (a result\n"
        "list page failed; the lines so far are kept), 8 job-seeker number unknown to\n"
        "the site, 9 site unreachable.");
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(
        {"settings", "Settings file (km.ini format); without it, the conditions of a first start.", "FILE"});
    parser.addOption({"output", "File to write: a CSV file, or an Excel workbook (.xlsx).", "FILE"});
    parser.addOption({"format",
                      "sjis (Shift-JIS CSV), utf8 (UTF-8 CSV, every character kept) or xlsx (Excel workbook); "
                      "default: xlsx for a .xlsx file, else sjis.",
                      "FORMAT"});
    parser.addOption({"database", "Reference database (default: the program's km_data.db).", "FILE"});
    parser.addOption({"log", "Appends the run log to FILE (keeps the last 5 runs).", "FILE"});
    parser.addOption(
        {"resume", "Goes on with an interrupted run: appends to --output the postings not yet in it."});
    parser.addOption({"forget", "Forgets what earlier runs of the search wrote, and runs nothing."});
    parser.addOption({"history", "What earlier runs wrote (default: history.db beside the settings).", "FILE"});
    AddConditionOptions(parser);
    // Tests shorten the pauses between requests; real runs keep them.
    QCommandLineOption pacing("pacing-ms", "Pause between requests in milliseconds.", "MS");
    pacing.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(pacing);

    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s\n%s", qPrintable(parser.errorText()), qPrintable(parser.helpText()));
        return kExitInvalidConditions;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("kenmori-cli %s\n", KENMORI_VERSION);
        return 0;
    }
    if ((!parser.isSet("output") && !parser.isSet("forget")) || !parser.positionalArguments().isEmpty()) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return kExitInvalidConditions;
    }

    CliOptions options;
    if (parser.isSet("settings"))
        options.settingsPath = PathOption(parser, "settings");
    options.applyConditionOptions = [&parser](SettingsValues& values) {
        return ApplyConditionOptions(parser, values);
    };
    if (parser.isSet("output"))
        options.outputPath = PathOption(parser, "output");
    if (parser.isSet("format")) {
        options.format = OutputFormatNamed(parser.value("format").toStdString());
        if (!options.format) {
            std::fputs("--format needs sjis, utf8 or xlsx.\n", stderr);
            return kExitInvalidConditions;
        }
    }
    options.resume = parser.isSet("resume");
    options.forget = parser.isSet("forget");
    options.historyPath = parser.isSet("history") ? PathOption(parser, "history") : HistoryPath();
    options.databasePath = parser.isSet("database") ? PathOption(parser, "database") : ReferenceDatabasePath();
    if (parser.isSet(pacing)) {
        bool valid = false;
        const int ms = parser.value(pacing).toInt(&valid);
        if (!valid || ms < 0) {
            std::fputs("--pacing-ms needs a number of milliseconds.\n", stderr);
            return kExitInvalidConditions;
        }
        const std::chrono::milliseconds pause(ms);
        options.pacing = RunPacing{pause, pause, pause, pause}; // refused later unless the site is local
    }
    if (parser.isSet("log"))
        options.logPath = PathOption(parser, "log");
    return RunFromCommandLine(options);
}
