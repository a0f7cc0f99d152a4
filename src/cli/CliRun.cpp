#include "CliRun.h"

#include "CliProgress.h"
#include "StopSignal.h"

#include "reference/ReferenceDatabase.h"
#include "run/IniFile.h"
#include "run/ProgramFolder.h"
#include "run/SettingsFile.h"
#include "run/StartValidation.h"
#include "text/CodePage932.h"
#include "text/UserTexts.h"
#include "run/OutputFileCheck.h"
#include "run/RunLog.h"
#include "run/RunOutcome.h"
#include "run/PostingMemory.h"
#include "run/RunSession.h"
#include "run/WorkbookOutput.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace kenmori {

bool LoadSettingsText(const std::filesystem::path& path, IniFile& ini, QString* refused)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark)) {
        const std::string_view utf8 = std::string_view(bytes).substr(kUtf8Mark.size());
        if (Utf8ToShiftJis(utf8).empty() && !utf8.empty())
            return false;
        // Written by hand in UTF-8: the same characters as typed into the
        // window's boxes are taken, and the same are refused.
        const QString text = WithCodePage932Forms(
            QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
        const QString unheld = FirstCharacterWithoutCodePage932Form(text);
        if (!unheld.isEmpty()) {
            if (refused)
                *refused = unheld;
            return false;
        }
        bytes = QStringToShiftJis(text);
    }
    ini.loadFromBytes(bytes);
    return true;
}

static void PrintWithPath(std::string_view utf8, const std::filesystem::path& path)
{
    PrintUtf8Message(std::string(utf8) + path.string());
}

// Several runners may share the program folder; each keeps its own page file.
static std::filesystem::path RunnerPageFile()
{
    return RunnerPageFilePath(static_cast<long>(::getpid()));
}

// The outcome's message, or the one given instead, and its status; the
// outcome is also written to the run log.
static CliExitStatus Outcome(RunLog* log, RunResult result, std::string_view utf8Message = {})
{
    const RunOutcomeText& outcome = OutcomeText(result);
    if (utf8Message.empty())
        utf8Message = outcome.message;
    if (!utf8Message.empty())
        PrintUtf8Message(utf8Message);
    if (log)
        log->line("outcome: " + std::string(outcome.logName));
    return outcome.exitStatus;
}

// Runs the session to its end, its progress shown as it comes.
static RunResult RunSessionToEnd(RunRequest request)
{
    CliProgress progress(::isatty(STDERR_FILENO) == 1);
    RunSession session(std::move(request));
    QObject::connect(&session, &RunSession::progressStepped, &session,
                     [&progress](int, int, const QString& text) { progress.showStatus(text); });
    QObject::connect(&session, &RunSession::notice, &session,
                     [&progress](const QString& message) { progress.showMessage(message); });
    QEventLoop loop;
    QObject::connect(&session, &QThread::finished, &loop, &QEventLoop::quit);
    session.start();
    {
        const StopSignalsElsewhere toTheSession;
        loop.exec();
        session.wait();
    }
    // Progress queued before the end is shown before the outcome.
    QCoreApplication::sendPostedEvents(&session);
    progress.finish();
    return session.outcome();
}

CliExitStatus RunFromCommandLine(const CliOptions& options)
{
    // A killed run leaves its page file behind; nobody else would remove it.
    RemoveStalePageFiles();
    // And a workbook behind its journal: it is made now.
    CatchUpInterruptedWorkbooks(options.historyPath, std::chrono::system_clock::now());

    SettingsValues values = FirstStartSettings();
    if (!options.settingsPath.empty()) {
        IniFile ini;
        QString refused;
        if (!LoadSettingsText(options.settingsPath, ini, &refused)) {
            if (!refused.isEmpty())
                PrintUtf8Message("「" + refused.toStdString()
                                 + "」は使用できない文字です: " + options.settingsPath.string());
            else
                PrintWithPath("設定ファイルを読み込めませんでした: ", options.settingsPath);
            return kExitInvalidConditions;
        }
        // Checked as stored: a value the window's box would refuse is not cut
        // or dropped here but named, and the run does not start.
        values = ReadSettings(ini, false);
    }
    if (options.applyConditionOptions) {
        if (const std::string error = options.applyConditionOptions(values); !error.empty()) {
            PrintUtf8Message(error);
            return kExitInvalidConditions;
        }
    }
    if (const std::string key = FirstInvalidSettingsKey(values); !key.empty()) {
        PrintUtf8Message("設定値が正しくありません: " + key);
        return kExitInvalidConditions;
    }
    SiteConfig site = SiteConfigForSettings(values);
    // Shortened pauses would hammer a real site.
    if (options.pacing) {
        if (!IsLoopbackAddress(site.baseAddress)) {
            PrintUtf8Message("--pacing-ms can only be used with a site on this machine (127.0.0.0/8, "
                             "localhost, [::1]): "
                             + site.baseAddress);
            return kExitInvalidConditions;
        }
        site.pacing = *options.pacing;
    }

    std::error_code error;
    if (!std::filesystem::is_regular_file(options.databasePath, error)) {
        PrintUtf8Message(kMessageDatabaseMissing);
        return kExitInvalidConditions;
    }
    ReferenceDatabase database(PathToQString(options.databasePath));
    const StartCheck check = CheckStartConditions(values, database);
    if (!check.passed) {
        PrintMessage(check.message);
        return kExitInvalidConditions;
    }

    if (options.forget) {
        const SearchConditions conditions = ConditionsForRun(values, check);
        PostingMemory memory(options.historyPath);
        if (!memory.isOpen() || !memory.forget(SearchIdentity(conditions))) {
            PrintUtf8Message(memory.problem().empty() ? "履歴を消せませんでした: " + options.historyPath.string()
                                                      : memory.problem());
            return kExitInvalidConditions;
        }
        PrintUtf8Message("この検索の履歴を消しました。");
        return kExitLinesWritten;
    }

    if (std::filesystem::is_directory(options.outputPath, error)) {
        PrintWithPath("出力ファイルに書き込めませんでした: ", options.outputPath);
        return kExitOutputFailed;
    }
    // The run replaces the file when its search goes out; until then an
    // earlier file stays as it was.
    if (!OutputFileReplaceable(options.outputPath)) {
        PrintUtf8Message(kMessageOutputFileInUse);
        return kExitOutputFailed;
    }

    const SearchConditions conditions = ConditionsForRun(values, check);
    const OutputFormat format = options.format.value_or(options.resume ? OutputFormatOfFile(options.outputPath)
                                                                       : OutputFormatForPath(options.outputPath));
    // The name tells the form of a file to every later start: the two agree.
    if ((format == OutputFormat::Workbook)
        != (OutputFormatForPath(options.outputPath) == OutputFormat::Workbook)) {
        PrintWithPath(format == OutputFormat::Workbook ? "Excelブックの名前は .xlsx で終わります: "
                                                       : "CSVファイルに .xlsx の名前は使えません: ",
                      options.outputPath);
        return kExitInvalidConditions;
    }
    if (options.resume) {
        const char* refusal = nullptr;
        switch (CheckGoingOn(options.outputPath, format, conditions)) {
        case GoingOn::Possible: break;
        case GoingOn::OtherFields:
            refusal = "出力ファイルの項目が今回の出力項目と異なるため、続きを書き込めません: ";
            break;
        case GoingOn::WorkbookEdited:
            refusal = "出力ファイルが前回の取得の後で変更されているため、続きを書き込めません: ";
            break;
        case GoingOn::JournalMissing:
            refusal = "出力ファイルのこれまでの行の記録がないため、続きを書き込めません: ";
            break;
        }
        if (refusal) {
            PrintWithPath(refusal, options.outputPath);
            return kExitInvalidConditions;
        }
    }

    std::unique_ptr<RunLog> log;
    if (!options.logPath.empty()) {
        log = std::make_unique<RunLog>(options.logPath, KeptListPagePath(options.logPath));
        if (!log->begin(std::chrono::system_clock::now(), conditions))
            PrintWithPath("ログファイルに書き込めませんでした: ", options.logPath);
    }

    PrintUtf8Message(kMessageFetchingSearchPage);
    RunRequest request{conditions,
                       options.outputPath,
                       RunnerPageFile(),
                       options.databasePath,
                       site,
                       log.get(),
                       StopSignalled,
                       options.historyPath,
                       ScopeOf(conditions, options.resume),
                       format};
    const RunResult result = RunSessionToEnd(std::move(request));
    // The command line names the file rather than asking to check where it goes.
    if (result == kResultOutputFailed)
        return Outcome(log.get(), result, "出力ファイルに書き込めませんでした: " + options.outputPath.string());
    return Outcome(log.get(), result);
}

} // namespace kenmori
