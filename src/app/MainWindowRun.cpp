// The main window's run control: Start with its checks and the output file,
// the warm-up visit to the site, the worker, Cancel and closing during a run,
// and the one routine that ends every run.

#include "app/DialogService.h"
#include "run/ProgramFolder.h"
#include "reference/ReferenceDatabase.h"
#include "app/SiteBrowser.h"
#include "run/StartValidation.h"
#include "app/MainWindow.h"
#include "app/WindowRunHost.h"
#include "controls/DigitBox.h"
#include "shell/TaskbarProgress.h"
#include "text/CodePage932.h"
#include "site/WarmUp.h"
#include "run/OutputFileCheck.h"
#include "run/QueuedRunHost.h"
#include "run/RunLog.h"
#include "run/RunOutcome.h"
#include "run/RetrievalWorker.h"

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
#include <QTimer>
#include <QUrl>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include <system_error>

static QString Utf8Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

static QString PathText(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

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
    const std::optional<std::filesystem::path> outputFile = chooseOutputFile();
    if (!outputFile)
        return;

    // Kept now, so a crash during the run does not lose them; a failure has
    // shown its notice and the run goes on.
    saveSettings();

    repaint();
    resultCode = kResultLinesWritten;
    // A Cancel during the warm-up reads the verdict: it must be this run's.
    runState.outputPath = *outputFile;
    runState.siteCookie.clear();
    runState.workerRunning = false;
    runState.workerVerdict = kVerdictNothingWritten;
    runState.TotalCount = 0;
    runState.StartedCount = 0;
    runState.DetailRetried = false;
    runState.outputFailed = false;
    runState.listPageFailed = false;
    runState.linesWritten = 0;
    cityCodes = check.cityCodes;
    m_runConditions = ConditionsForRun(values, check);
    m_runLog = std::make_unique<RunLog>(runLogFile(), lastListPageFile());
    m_runLog->begin(std::chrono::system_clock::now(), m_runConditions);
    m_host->beginRun();
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_cursorOverridden = true;

    setConditionControlsEnabled(false);
    QPalette colours = lblStatus->palette();
    colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    lblStatus->setPalette(colours);
    lblStatus->setText(QStringLiteral("ページ情報を取得中です。しばらくお待ちください。"));
    prgBar->setValue(0);

    ++m_runSerial;
    m_phase = RunPhase::WarmingUp;
    m_stopFlag = std::make_shared<std::atomic<bool>>(false);
    timer->start(warmUpTimeLimit);
    webBrowser->navigateToSearchPage(warmUpTimeLimit);
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
                   QStringLiteral("設定確認"));
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
    case StartFocus::editJobNo1: target = editJobNo1; break;
    case StartFocus::editJobNo2: target = editJobNo2; break;
    case StartFocus::editJobCode1: target = editJobCode1; break;
    case StartFocus::editJobCode3: target = editJobCode3; break;
    case StartFocus::clstOutput: target = clstOutput; break;
    case StartFocus::cmbRegion1: target = cmbRegion1; break;
    case StartFocus::editCity: target = editCity; break;
    case StartFocus::Unchanged: break;
    }
    if (target)
        target->setFocus();
    return false;
}

std::optional<std::filesystem::path> MainWindow::chooseOutputFile()
{
    QString chosen = AskSaveFilePath(this, QStringLiteral("求人取得リスト.csv"));
    if (chosen.isEmpty())
        return std::nullopt;
    const QString name = QFileInfo(chosen).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || name.mid(dot).compare(QLatin1String(".csv"), Qt::CaseInsensitive) != 0)
        chosen += QLatin1String(".csv");

    // The worker replaces an old file only when it starts writing, so a run
    // that ends before (site unreachable, Cancel) leaves it as it was. One
    // that cannot be written (held elsewhere, read-only, a folder of that
    // name) stops the run here.
    const std::filesystem::path file(chosen.toStdU16String());
    if (!OutputFileReplaceable(file)) {
        ShowNotice(
            this,
            QStringLiteral("選択されたファイルが他のアプリケーションで使用中の為\n開くことができませんでした。"),
            QStringLiteral("Error"));
        return std::nullopt;
    }
    return file;
}

void MainWindow::setConditionControlsEnabled(bool enabled)
{
    QWidget* const controls[] = {lblSelRegion1,  lblSelRegion2, lblSelRegion3,  lblRegionComment, lblCityComment,
                                 lblWordComment, lblJobNo,      lblJobCode1,    lblJobCode2,      lblJobCodeBar1,
                                 lblJobCodeBar2, cmbRegion1,    cmbRegion2,     cmbRegion3,       cmbOfferType,
                                 cmbJobHaken,    cmbJobType,    cmbJobIndustry, chkJobSet1,       chkJobSet2,
                                 chkJobSet3,     chkOutput,     chkRetry,       editCity,         editWord,
                                 editJobNo1,     editJobNo2,    editJobCode1,   editJobCode2,     editJobCode3,
                                 editJobCode4,   rdoWordType1,  rdoWordType2,   rdoWordType3,     clstOutput};
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

std::optional<std::string> MainWindow::readSiteCookie() const
{
    // Only a page of the site itself carries the site's cookie.
    if (!IsSiteAddress(webBrowser->locationUrl()))
        return std::nullopt;
    return webBrowser->documentCookie();
}

void MainWindow::warmUpPageLoaded(const QString& address)
{
    // A page that completes after its run has ended starts nothing.
    if (m_phase != RunPhase::WarmingUp)
        return;
    // A page from elsewhere leaves the time limit running, so that the run
    // ends as unreachable instead of waiting for a Cancel.
    if (!IsSiteAddress(address.toStdString()))
        return;
    timer->stop();
    if (const std::optional<std::string> cookie = readSiteCookie())
        beginWorkerStart(*cookie);
}

void MainWindow::warmUpTimedOut()
{
    timer->stop();
    if (m_phase != RunPhase::WarmingUp)
        return;
    if (const std::optional<std::string> cookie = readSiteCookie()) {
        beginWorkerStart(*cookie);
        return;
    }
    resultCode = kResultSiteUnreachable;
    endRun(resultCode);
}

void MainWindow::beginWorkerStart(const std::string& cookie)
{
    if (m_runLog && webBrowser->lastTransfer())
        m_runLog->request("GET", SearchPageAddress(), *webBrowser->lastTransfer());
    runState.siteCookie = Utf8ToShiftJis(cookie);
    webBrowser->stop();
    m_phase = RunPhase::StartingWorker;
    // The pause runs on the event loop, so the window stays responsive; a
    // run that ends meanwhile gets no worker.
    const unsigned serial = m_runSerial;
    QTimer::singleShot(runPacing.afterWarmUp, this, [this, serial] {
        if (m_phase == RunPhase::StartingWorker && serial == m_runSerial)
            startWorker();
    });
}

void MainWindow::startWorker()
{
    if (workerThread)
        return;
    const std::shared_ptr<std::atomic<bool>> stopFlag = m_stopFlag;
    auto* worker = new RetrievalWorker(m_runConditions, runState, *m_queuedHost, PageFilePath(m_programFolder),
                                       runPacing, [stopFlag] { return stopFlag && stopFlag->load(); });
    worker->setRunLog(m_runLog.get());
    workerThread = worker;
    m_liveWorker = worker;
    m_phase = RunPhase::WorkerActive;
    launchWorker(worker);
}

void MainWindow::launchWorker(RetrievalWorker* worker)
{
    worker->start();
}

void MainWindow::requestWorkerStop()
{
    // Qt forgets an interruption asked for before the thread runs; the flag
    // is seen in any case.
    if (m_stopFlag)
        m_stopFlag->store(true);
    if (m_liveWorker)
        m_liveWorker->requestInterruption();
}

void MainWindow::workerEndReport()
{
    if (m_phase != RunPhase::WorkerActive)
        return;
    m_phase = RunPhase::WorkerEnded;
    cancelRun();
}

void MainWindow::cancelRun()
{
    if (m_phase == RunPhase::Idle)
        return;
    const bool workerRunning = m_phase == RunPhase::WorkerActive;

    if (workerRunning && resultCode == kResultLinesWritten) {
        const unsigned serial = m_runSerial;
        if (!AskQuestion(this, QStringLiteral("取得処理を中断します。\nよろしいですか？"),
                         QStringLiteral("中断確認")))
            return;
        // The worker may have ended while the question was open.
        if (m_phase != RunPhase::WorkerActive || serial != m_runSerial || resultCode != kResultLinesWritten)
            return;
        resultCode = kResultCancelled;
        requestWorkerStop();
        return;
    }
    if (workerRunning) {
        // A stop is under way or closing was confirmed: the worker's end
        // report finishes the run, never this click.
        requestWorkerStop();
        if (resultCode == kResultClosing)
            resultCode = kResultClosingStopped;
        return;
    }

    // A Cancel before any worker exists (warm-up, or the pause after it)
    // ends as a confirmed Cancel: nothing was searched, so nothing was found
    // or not found.
    if ((m_phase == RunPhase::WarmingUp || m_phase == RunPhase::StartingWorker)
        && resultCode == kResultLinesWritten)
        resultCode = kResultCancelled;

    // The worker's end report, or a Cancel before any worker exists.
    workerThread = nullptr;
    if (resultCode == kResultLinesWritten)
        resultCode = WorkerOutcome(runState);
    endRun(resultCode);
}

void MainWindow::endRun(int code)
{
    const RunOutcomeText& outcome = OutcomeText(code);
    if (m_runLog) {
        if (code == kResultSiteUnreachable) {
            if (webBrowser->lastTransfer())
                m_runLog->request("GET", SearchPageAddress(), *webBrowser->lastTransfer());
            m_runLog->line("warm-up: the search page did not arrive");
        }
        m_runLog->line("outcome: " + std::string(outcome.logName));
    }
    m_phase = RunPhase::Idle;
    timer->stop();
    webBrowser->stop();
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
                           QStringLiteral("Error"));
        }
    } else if (outcome.box == OutcomeBox::Notice) {
        ShowNotice(this, message, title);
    }

    if (runState.taskbarReady)
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
    QDesktopServices::openUrl(QUrl::fromLocalFile(PathText(file)));
}
