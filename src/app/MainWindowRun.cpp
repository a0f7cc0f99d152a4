// The main window's run control: Start with its checks and the output file,
// the run session, Cancel and closing during a run, and the one routine that
// ends every run.

#include "app/DialogService.h"
#include "run/ProgramFolder.h"
#include "reference/ReferenceDatabase.h"
#include "run/StartValidation.h"
#include "app/MainWindow.h"
#include "app/RunProgressView.h"
#include "controls/DigitBox.h"
#include "shell/TaskbarProgress.h"
#include "text/CodePage932.h"
#include "text/UserTexts.h"
#include "run/OutputFileCheck.h"
#include "run/RunLog.h"
#include "run/RunOutcome.h"
#include "run/OutputFormat.h"
#include "run/PostingMemory.h"
#include "run/RunSession.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include <system_error>

namespace kenmori {

void MainWindow::startRun()
{
    if (m_phase != RunPhase::Idle)
        return;
    if (!checkTextBoxCharacters())
        return;
    const SettingsValues values = currentSettings();
    StartCheck check;
    if (!validateStart(values, check))
        return;
    if (values.useStartPosition)
        editRetry->setText(ShiftJisToQString(check.retryText));
    const SearchConditions conditions = ConditionsForRun(values, check);
    std::optional<std::pair<std::filesystem::path, OutputFormat>> output;
    if (const auto interrupted = interruptedRunToResume(conditions))
        output = std::pair{*interrupted, OutputFormatOfFile(*interrupted)};
    const bool resume = output.has_value();
    if (!resume)
        output = chooseOutputFile();
    if (!output)
        return;
    const auto& [outputFile, format] = *output;

    // Kept now, so a crash during the run does not lose them; a failure has
    // shown its notice and the run goes on.
    saveSettings();

    repaint();
    resultCode = kResultLinesWritten;
    runState = RunState{};
    runState.outputPath = outputFile;
    cityCodes = check.cityCodes;
    m_runConditions = conditions;
    m_runLog = std::make_unique<RunLog>(runLogFile(), lastListPageFile());
    m_runLog->begin(std::chrono::system_clock::now(), m_runConditions);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_cursorOverridden = true;

    setConditionControlsEnabled(false);
    QPalette colours = lblStatus->palette();
    colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    lblStatus->setPalette(colours);
    lblStatus->setText(Utf8Text(kMessageFetchingSearchPage));
    prgBar->setValue(0);
    startSession(outputFile, ScopeOf(conditions, resume), format);
}

std::optional<std::filesystem::path> MainWindow::interruptedRunToResume(const SearchConditions& conditions)
{
    // The last run of this search was stopped, failed or killed, and its
    // file can take the rest of the lines.
    const PostingMemory memory(historyFile());
    // A damaged file is set aside here already; the user hears of it now.
    if (!memory.problem().empty())
        ShowNotice(this, QString::fromStdString(memory.problem()), Utf8Text(kTitleError));
    const std::optional<std::filesystem::path> file = memory.interruptedRun(SearchIdentity(conditions));
    std::error_code error;
    if (!file || !std::filesystem::is_regular_file(LineFilePath(*file, OutputFormatOfFile(*file)), error)
        || CheckGoingOn(*file, OutputFormatOfFile(*file), conditions) != GoingOn::Possible)
        return std::nullopt;
    if (!AskQuestion(this, QStringLiteral("前回中断した取得を続けますか？\n%1").arg(PathToQString(*file)),
                     QStringLiteral("処理確認")))
        return std::nullopt;
    if (!OutputFileReplaceable(*file)) {
        ShowNotice(this, Utf8Text(kMessageOutputFileInUse), Utf8Text(kTitleError));
        return std::nullopt;
    }
    return file;
}

void MainWindow::startSession(const std::filesystem::path& outputFile, RunScope scope, OutputFormat format)
{
    RunRequest request{m_runConditions,
                       outputFile,
                       PageFilePath(m_programFolder),
                       databasePath(),
                       site,
                       m_runLog.get(),
                       {},
                       historyFile(),
                       scope,
                       format};
    m_session = new RunSession(std::move(request), this);
    m_phase = RunPhase::WarmingUp;
    connect(m_session, &RunSession::retrievalStarted, this, [this] {
        if (m_phase == RunPhase::WarmingUp)
            m_phase = RunPhase::Retrieving;
    });
    connect(m_session, &RunSession::progressReset, this, [this](int total) { m_progress->reset(total); });
    connect(m_session, &RunSession::progressStepped, this,
            [this](int position, int total, const QString& text) { m_progress->step(position, total, text); });
    connect(m_session, &RunSession::notice, this,
            [this](const QString& message) { ShowNotice(this, message, Utf8Text(kTitleError)); });
    connect(m_session, &QThread::finished, this, &MainWindow::sessionEnded);
    m_session->start();
}

bool MainWindow::checkTextBoxCharacters()
{
    // The search carries code page 932: a character it cannot hold would go
    // as "?" and search for something else.
    for (QLineEdit* box : {editCity, editWord}) {
        box->setText(WithCodePage932Forms(box->text()));
        const QString refused = FirstCharacterWithoutCodePage932Form(box->text());
        if (refused.isEmpty())
            continue;
        ShowNotice(this,
                   QStringLiteral("「%1」は使用できない文字です。\n別の文字で入力してください。").arg(refused),
                   Utf8Text(kTitleSettingsCheck));
        box->setFocus();
        return false;
    }
    return true;
}

bool MainWindow::validateStart(const SettingsValues& values, StartCheck& check)
{
    check = CheckStartConditions(values, *m_database);
    if (check.passed)
        return true;
    ShowNotice(this, ShiftJisToQString(check.message), ShiftJisToQString(check.title));
    QWidget* target = nullptr;
    switch (check.focus) {
    case StartFocus::JobSeekerNumber1: target = editJobNo1; break;
    case StartFocus::JobSeekerNumber2: target = editJobNo2; break;
    case StartFocus::CategoryMajor1: target = editJobCode1; break;
    case StartFocus::CategoryMajor2: target = editJobCode3; break;
    case StartFocus::OutputFields: target = clstOutput; break;
    case StartFocus::Prefecture1: target = cmbRegion1; break;
    case StartFocus::CityNames: target = editCity; break;
    case StartFocus::Unchanged: break;
    }
    if (target)
        target->setFocus();
    return false;
}

std::optional<std::pair<std::filesystem::path, OutputFormat>> MainWindow::chooseOutputFile()
{
    struct FileType {
        OutputFormat format;
        const char* filter;
        QLatin1String extension;
    };
    static const FileType kFileTypes[] = {
        {OutputFormat::ShiftJisCsv, "CSVファイル（Shift-JIS）(*.csv)", QLatin1String(".csv")},
        {OutputFormat::Utf8Csv, "CSVファイル（UTF-8）(*.csv)", QLatin1String(".csv")},
        {OutputFormat::Workbook, "Excelブック (*.xlsx)", QLatin1String(".xlsx")},
    };
    QStringList filters;
    int shown = 0;
    for (const FileType& type : kFileTypes) {
        if (type.format == m_outputFormat)
            shown = static_cast<int>(filters.size());
        filters << QString::fromUtf8(type.filter);
    }
    const SaveFileChoice choice = AskSaveFile(this, QStringLiteral("求人取得リスト") + kFileTypes[shown].extension,
                                              filters, shown);
    if (choice.path.isEmpty())
        return std::nullopt;
    // A name typed with an extension of the list's forms is taken as it
    // stands (the dialog asked before replacing that very file); any other
    // name takes the chosen type's extension.
    const FileType* type =
        &kFileTypes[choice.fileType >= 0 && choice.fileType < filters.size() ? choice.fileType : 0];
    QString chosen = choice.path;
    const QString name = QFileInfo(chosen).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    const auto typed = [&](QLatin1String known) { return extension.compare(known, Qt::CaseInsensitive) == 0; };
    if (typed(QLatin1String(".xlsx")))
        type = &kFileTypes[2];
    else if (typed(QLatin1String(".csv")) && type->format == OutputFormat::Workbook)
        type = &kFileTypes[0];
    else if (!typed(type->extension))
        chosen += type->extension;
    m_outputFormat = type->format;

    // The run replaces an old file only when its search goes out, so a run
    // that ends before (site unreachable, Cancel) leaves it as it was. One
    // that cannot be written (held elsewhere, read-only, a folder of that
    // name) stops the run here.
    const std::filesystem::path file(chosen.toStdU16String());
    if (!OutputFileReplaceable(file)) {
        ShowNotice(this, Utf8Text(kMessageOutputFileInUse), Utf8Text(kTitleError));
        return std::nullopt;
    }
    return std::pair{file, type->format};
}

void MainWindow::setConditionControlsEnabled(bool enabled)
{
    QWidget* const controls[] = {
        lblSelRegion1, lblSelRegion2, lblSelRegion3, lblRegionComment, lblCityComment, lblWordComment,
        lblJobNo,      lblJobCode1,   lblJobCode2,   lblJobCodeBar1,   lblJobCodeBar2, cmbRegion1,
        cmbRegion2,    cmbRegion3,    cmbOfferType,  cmbJobHaken,      cmbJobType,     cmbJobIndustry,
        chkJobSet1,    chkJobSet2,    chkJobSet3,    chkOnlyNew,       chkOutput,      chkRetry,
        editCity,      editWord,      editJobNo1,    editJobNo2,       editJobCode1,   editJobCode2,
        editJobCode3,  editJobCode4,  rdoWordType1,  rdoWordType2,     rdoWordType3,   clstOutput};
    for (QWidget* control : controls)
        control->setEnabled(enabled);
    btnStart->setEnabled(enabled);
    btnClear->setEnabled(enabled);
    btnCancel->setEnabled(!enabled);
    if (enabled) {
        startPositionToggled(); // the start position follows its tick
    } else {
        editRetry->setEnabled(false);
        lblRetry->setEnabled(false);
    }
}

void MainWindow::sessionEnded()
{
    RunSession* const session = m_session;
    if (!session || sender() != session)
        return;
    session->wait(); // finished comes just before its thread ends
    m_session = nullptr;
    runState = session->state();
    const RunResult outcome = session->outcome();
    session->deleteLater();
    // The user's Cancel or closing decides the end, whatever the run did.
    if (resultCode == kResultLinesWritten)
        resultCode = outcome;
    endRun(resultCode);
}

void MainWindow::cancelRun()
{
    if (m_phase == RunPhase::Idle || !m_session)
        return;
    if (m_phase == RunPhase::Retrieving && resultCode == kResultLinesWritten) {
        RunSession* const session = m_session;
        if (!AskQuestion(this, QStringLiteral("取得処理を中断します。\nよろしいですか？"),
                         QStringLiteral("中断確認")))
            return;
        // The run may have ended while the question was open.
        if (m_session != session || resultCode != kResultLinesWritten)
            return;
        resultCode = kResultCancelled;
    } else if (resultCode == kResultLinesWritten) {
        // A Cancel during the visit to the search page ends as a confirmed
        // Cancel: nothing was searched, so nothing was found or not found.
        resultCode = kResultCancelled;
    } else if (resultCode == kResultClosing) {
        resultCode = kResultClosingStopped;
    }
    // The session's end finishes the run, never this click.
    m_session->requestStop();
}

void MainWindow::endRun(int code)
{
    const RunOutcomeText& outcome = OutcomeText(code);
    if (m_runLog)
        m_runLog->line("outcome: " + std::string(outcome.logName));
    m_phase = RunPhase::Idle;
    restoreCursor();
    if (code != kResultCancelled)
        alertUser();

    const QString message = Utf8Text(outcome.message);
    const QString title = Utf8Text(outcome.title);
    if (code == kResultClosing || code == kResultClosingStopped) {
        btnCancel->setEnabled(false);
        try {
            saveSettings();
        } catch (...) {
            // The program ends as the user asked, settings kept or not.
        }
        terminateApplication();
        return;
    }
    if (outcome.box == OutcomeBox::Question) {
        if (AskQuestion(this, message + QStringLiteral("\n保存した求人一覧のファイルを開きますか？"), title,
                        true)) {
            std::error_code missing;
            if (std::filesystem::exists(runState.outputPath, missing))
                openWithAssociatedProgram(runState.outputPath);
            else
                ShowNotice(this, QStringLiteral("該当するファイルが見つかりませんでした。"),
                           Utf8Text(kTitleError));
        }
    } else if (outcome.box == OutcomeBox::Notice) {
        ShowNotice(this, message, title);
    }

    if (m_taskbarReady)
        SetTaskbarProgressState(TaskbarProgressState::None);
    lblStatus->clear();
    prgBar->setValue(0);
    setConditionControlsEnabled(true);
}

void MainWindow::restoreCursor()
{
    if (!m_cursorOverridden)
        return;
    m_cursorOverridden = false;
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::alertUser()
{
#ifdef _WIN32
    MessageBeep(MB_ICONQUESTION);
#else
    QApplication::beep();
#endif
    QApplication::alert(this, 0); // until the window is active again
}

void MainWindow::openWithAssociatedProgram(const std::filesystem::path& file)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(file)));
}

} // namespace kenmori
