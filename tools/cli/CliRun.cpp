#include "CliRun.h"

#include "CliHost.h"
#include "StopSignal.h"

#include "app/IniFile.h"
#include "app/ProgramFolder.h"
#include "app/ReferenceDatabase.h"
#include "app/SettingsFile.h"
#include "app/StartValidation.h"
#include "site/CodePage932.h"
#include "site/WarmUp.h"
#include "worker/QueuedRunHost.h"
#include "worker/Unithread.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

bool LoadSettingsText(const std::filesystem::path& path, IniFile& ini)
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
        std::string converted = Utf8ToShiftJis(utf8);
        if (converted.empty() && !utf8.empty())
            return false;
        bytes = std::move(converted);
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
    std::filesystem::path file = PageFilePath();
    file.replace_filename("tmp." + std::to_string(::getpid()) + ".dat");
    return file;
}

static CliExitStatus Stopped()
{
    PrintUtf8Message("取得処理を中断しました。");
    return kExitStopped;
}

// Runs the worker to its end; the event loop serves its calls to the host.
static void RunWorker(const SearchConditions& conditions, RunState& state,
                      const CliOptions& options, ReferenceDatabase& database)
{
    CliHost host(database, ::isatty(STDERR_FILENO) == 1);
    QueuedRunHost queuedHost(host);
    // A signal handler cannot reach the thread object; the worker polls the
    // signal flag beside its interruption flag instead.
    auto* worker = new TMyThread(conditions, state, queuedHost, RunnerPageFile(), options.pacing,
                                 StopSignalled);
    QEventLoop loop;
    QObject::connect(worker, &QObject::destroyed, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
}

CliExitStatus RunFromCommandLine(const CliOptions& options)
{
    SettingsValues values = FirstStartSettings();
    if (!options.settingsPath.empty()) {
        IniFile ini;
        if (!LoadSettingsText(options.settingsPath, ini)) {
            PrintWithPath("設定ファイルを読み込めませんでした: ", options.settingsPath);
            return kExitInvalidConditions;
        }
        values = ReadSettings(ini);
    }
    if (options.applyConditionOptions) {
        if (const std::string error = options.applyConditionOptions(values); !error.empty()) {
            PrintUtf8Message(error);
            return kExitInvalidConditions;
        }
    }
    ApplySiteAddress(values);

    std::error_code error;
    if (!std::filesystem::is_regular_file(options.databasePath, error)) {
        PrintUtf8Message("DBファイルの設定が正しくありません。\n管理者に確認してください。");
        return kExitInvalidConditions;
    }
    ReferenceDatabase database(QString::fromStdString(options.databasePath.string()));

    const StartCheck check = CheckStartConditions(values, database);
    if (!check.passed) {
        PrintMessage(check.message);
        return kExitInvalidConditions;
    }

    if (std::filesystem::is_directory(options.outputPath, error)) {
        PrintWithPath("出力ファイルに書き込めませんでした: ", options.outputPath);
        return kExitOutputFailed;
    }
    // The run writes a new file; one that cannot be removed is in use.
    if (std::filesystem::exists(options.outputPath, error)
        && !std::filesystem::remove(options.outputPath, error)) {
        PrintUtf8Message("選択されたファイルが他のアプリケーションで使用中の為\n開くことができませんでした。");
        return kExitOutputFailed;
    }

    PrintUtf8Message("ページ情報を取得中です。しばらくお待ちください。");
    const WarmUpResult warmUp = FetchSearchPage(kWarmUpTimeLimit, StopSignalled);
    if (StopSignalled())
        return Stopped();
    if (!warmUp.pageArrived || !IsSiteAddress(warmUp.finalAddress)) {
        PrintUtf8Message("サイトへのアクセスができませんでした。\r\nしばらく時間を置いてから再度実行してください。");
        return kExitSiteUnreachable;
    }
    if (!PauseUnlessStopped(options.pacing.afterWarmUp, StopSignalled))
        return Stopped();

    RunState state;
    state.outputPath = options.outputPath;
    state.siteCookie = Utf8ToShiftJis(warmUp.cookie);
    RunWorker(ConditionsForRun(values, check), state, options, database);
    if (StopSignalled())
        return Stopped();

    if (state.outputFailed) {
        PrintWithPath("出力ファイルに書き込めませんでした: ", options.outputPath);
        return kExitOutputFailed;
    }
    switch (state.workerVerdict) {
    case kVerdictUnknownJobSeeker:
        PrintUtf8Message("指定された求職番号は存在しません。\r\n入力内容を確認してください。");
        return kExitUnknownJobSeeker;
    case kVerdictLineWritten:
        PrintUtf8Message("求人情報の取得が完了しました。");
        return kExitLinesWritten;
    default:
        PrintUtf8Message("該当する求人情報は見つかりませんでした。");
        return kExitNothingFound;
    }
}
