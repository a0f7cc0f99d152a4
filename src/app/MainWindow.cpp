#include "app/MainWindow.h"

#include "app/DialogService.h"
#include "run/ConditionTable.h"
#include "run/ProgramFolder.h"
#include "reference/ReferenceDatabase.h"
#include "run/SettingsFile.h"
#include "run/WorkbookOutput.h"
#include "app/RunProgressView.h"
#include "controls/DigitBox.h"
#include "shell/TaskbarProgress.h"
#include "text/CodePage932.h"
#include "text/UserTexts.h"
#include "run/RunLog.h"
#include "run/RunSession.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QOperatingSystemVersion>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>

#include <system_error>
#include <utility>

namespace kenmori {

MainWindow::MainWindow(std::filesystem::path programFolder, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_programFolderGiven(!programFolder.empty())
{
    m_programFolder = m_programFolderGiven ? std::move(programFolder) : ProgramFolder();
    buildLayout();
    createNumberBoxes();
    applyTabOrder();
    connectHandlers();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    prepareForm();
}

MainWindow::~MainWindow()
{
    m_phase = RunPhase::Idle;
    restoreCursor();
    if (!m_session)
        return;
    // The window goes in the middle of a run, or the run that ended the
    // program is still finishing: nothing more of it reaches the window, and
    // the session's own end stops it and waits for its thread.
    disconnect(m_session, nullptr, this, nullptr);
    delete m_session;
}

std::filesystem::path MainWindow::settingsPath() const
{
    return SettingsFilePath(m_programFolder);
}

std::filesystem::path MainWindow::databasePath() const
{
    return ReferenceDatabasePath(m_programFolder);
}

std::filesystem::path MainWindow::runLogFile() const
{
    return RunLogPath(m_programFolder);
}

std::filesystem::path MainWindow::historyFile() const
{
    return HistoryPath(m_programFolder);
}

std::filesystem::path MainWindow::lastListPageFile() const
{
    return KeptListPagePath(runLogFile());
}

void MainWindow::connectHandlers()
{
    // Handlers follow the check state whoever changes it, so that loading
    // the settings obeys the same rules as a click.
    connect(chkJobSet1, &QCheckBox::toggled, this, &MainWindow::recentTwoDaysToggled);
    connect(chkJobSet2, &QCheckBox::toggled, this, &MainWindow::recentWeekToggled);
    connect(chkRetry, &QCheckBox::toggled, this, &MainWindow::startPositionToggled);
    connect(chkOutput, &QCheckBox::toggled, this, &MainWindow::tickAllOutputFields);
    connect(clstOutput, &QListWidget::itemChanged, this, &MainWindow::outputFieldTicked);
    connect(btnStart, &QPushButton::clicked, this, &MainWindow::startRun);
    connect(btnClear, &QPushButton::clicked, this, &MainWindow::clearConditions);
    connect(btnCancel, &QPushButton::clicked, this, &MainWindow::cancelRun);
    for (DigitBox* box : {editJobNo1, editJobNo2, editJobCode1, editJobCode2, editJobCode3, editJobCode4})
        connect(box, &DigitBox::doubleClicked, this, [this, box] { selectDigits(box); });
    connect(editRetry, &DigitBox::doubleClicked, this, [this] { selectDigits(editRetry); });
    editCity->installEventFilter(this);
    editWord->installEventFilter(this);
}

void MainWindow::prepareForm()
{
    m_taskbarReady = false;
    databaseReady = false;
#ifdef _WIN32
    // Taskbar progress exists from Windows 7 on.
    if (QOperatingSystemVersion::current() >= QOperatingSystemVersion::Windows7) {
        SetTaskbarWindow(static_cast<quintptr>(winId()));
        m_taskbarReady = InitializeTaskbarAPI();
    }
#else
    m_taskbarReady = InitializeTaskbarAPI();
#endif
    // Page files of command-line runs that were killed; nobody else would
    // remove them.
    if (!m_programFolderGiven)
        RemoveStalePageFiles();
    std::error_code error;
    // The connection itself opens on the first query.
    databaseReady = std::filesystem::exists(databasePath(), error);
    m_database = std::make_unique<ReferenceDatabase>(PathToQString(databasePath()));
    m_progress = std::make_unique<RunProgressView>(*prgBar, *lblStatus, m_taskbarReady);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_shownBefore) {
        m_shownBefore = true;
        loadOnFirstShow();
    }
}

void MainWindow::loadOnFirstShow()
{
    // Queued, so the window is on screen before the settings or the
    // database message.
    QMetaObject::invokeMethod(this, &MainWindow::afterFirstShow, Qt::QueuedConnection);
}

void MainWindow::afterFirstShow()
{
    if (databaseReady) {
        loadSettings();
        // A workbook whose run was killed is made from its journal now.
        CatchUpInterruptedWorkbooks(historyFile(), std::chrono::system_clock::now());
        return;
    }
    ShowNotice(this, Utf8Text(kMessageDatabaseMissing), QStringLiteral("設定エラー"));
    terminateApplication();
}

void MainWindow::terminateApplication()
{
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    confirmClose(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void MainWindow::confirmClose(bool& canClose)
{
    if (!btnCancel->isEnabled()) {
        try {
            saveSettings();
        } catch (...) {
            // Closing must not fail because the settings could not be kept.
        }
        return;
    }
    canClose = false;
    if (!AskQuestion(this, QStringLiteral("取得処理の実行中ですが終了しますか？"), QStringLiteral("終了確認")))
        return;
    if (!btnCancel->isEnabled()) {
        // The run ended while the question was open: close as when idle.
        canClose = true;
        confirmClose(canClose);
        return;
    }
    resultCode = resultCode == kResultClosing ? kResultClosingStopped : kResultClosing;
    cancelRun();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == editCity) {
            selectCities();
            return true;
        }
        if (watched == editWord) {
            selectWords();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::recentTwoDaysToggled()
{
    if (chkJobSet1->isChecked() && chkJobSet2->isChecked())
        chkJobSet2->setChecked(false);
}

void MainWindow::recentWeekToggled()
{
    if (chkJobSet2->isChecked() && chkJobSet1->isChecked())
        chkJobSet1->setChecked(false);
}

void MainWindow::startPositionToggled()
{
    const bool ticked = chkRetry->isChecked();
    editRetry->setEnabled(ticked);
    QPalette colours = editRetry->palette();
    colours.setColor(QPalette::Base, QApplication::palette().color(ticked ? QPalette::Base : QPalette::Button));
    editRetry->setPalette(colours);
    lblRetry->setEnabled(ticked);
}

void MainWindow::selectWords()
{
    editWord->selectAll();
}

void MainWindow::selectCities()
{
    editCity->selectAll();
}

void MainWindow::selectDigits(QLineEdit* box)
{
    box->selectAll();
}

void MainWindow::setAllRowsChecked(bool checked)
{
    // The rows change by program here, not by the user's hand.
    const QSignalBlocker quiet(clstOutput);
    for (int row = 0; row < clstOutput->count(); ++row)
        clstOutput->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    clstOutput->viewport()->update();
}

void MainWindow::setOutputTickSilently(bool checked)
{
    const QSignalBlocker quiet(chkOutput);
    chkOutput->setChecked(checked);
}

void MainWindow::tickAllOutputFields()
{
    if (clstOutput->count() == 0)
        return;
    setAllRowsChecked(chkOutput->isChecked());
    clstOutput->setFocus();
}

void MainWindow::outputFieldTicked()
{
    bool allTicked = true;
    for (int row = 0; row < clstOutput->count() && allTicked; ++row)
        allTicked = clstOutput->item(row)->checkState() == Qt::Checked;
    // The select-all box follows the rows without touching them.
    if (chkOutput->isChecked() && !allTicked)
        setOutputTickSilently(false);
    else if (!chkOutput->isChecked() && allTicked)
        setOutputTickSilently(true);
}

void MainWindow::clearConditions()
{
    if (!AskQuestion(this, QStringLiteral("設定した条件を初期化します。\nよろしいですか？"),
                     QStringLiteral("変更確認")))
        return;

    QPalette colours = lblStatus->palette();
    colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    lblStatus->setPalette(colours);
    lblStatus->clear();

    for (QComboBox* list :
         {cmbRegion1, cmbRegion2, cmbRegion3, cmbOfferType, cmbJobType, cmbJobHaken, cmbJobIndustry})
        list->setCurrentIndex(0);

    for (QCheckBox* check : {chkJobSet1, chkJobSet2, chkJobSet3, chkOnlyNew, chkRetry})
        check->setChecked(false);
    startPositionToggled();

    for (QLineEdit* box : {editCity, editWord})
        box->clear();
    for (DigitBox* box : {editJobNo1, editJobNo2, editJobCode1, editJobCode2, editJobCode3, editJobCode4})
        box->clear();
    editRetry->setText(QStringLiteral("0"));

    rdoWordType1->setChecked(true);

    setAllRowsChecked(true);
    chkOutput->setChecked(true);
    clstOutput->setCurrentRow(0);
    cmbRegion1->setFocus();
}

// The control that shows a row of the condition table: the one place that
// ties the rows to the window. The words mode and the output fields are the
// only rows of their kinds and have their own controls.
static QWidget* ConditionControlOf(const MainWindow& window, const ConditionRow& row)
{
    const std::pair<int ConditionValues::*, QComboBox*> lists[] = {
        {&ConditionValues::prefecture1, window.cmbRegion1},  {&ConditionValues::prefecture2, window.cmbRegion2},
        {&ConditionValues::prefecture3, window.cmbRegion3},  {&ConditionValues::postingKind, window.cmbOfferType},
        {&ConditionValues::dispatch, window.cmbJobHaken},    {&ConditionValues::occupation, window.cmbJobType},
        {&ConditionValues::industry, window.cmbJobIndustry},
    };
    const std::pair<bool ConditionValues::*, QCheckBox*> checks[] = {
        {&ConditionValues::recentTwoDays, window.chkJobSet1},  {&ConditionValues::recentWeek, window.chkJobSet2},
        {&ConditionValues::namedOnly, window.chkJobSet3},      {&ConditionValues::onlyNew, window.chkOnlyNew},
        {&ConditionValues::useStartPosition, window.chkRetry},
    };
    const std::pair<std::string SettingsValues::*, QLineEdit*> boxes[] = {
        {&SettingsValues::cityNames, window.editCity},
        {&SettingsValues::freeWords, window.editWord},
        {&SettingsValues::startPositionText, window.editRetry},
        {&SettingsValues::jobSeekerNumber1, window.editJobNo1},
        {&SettingsValues::jobSeekerNumber2, window.editJobNo2},
        {&SettingsValues::categoryMajor1, window.editJobCode1},
        {&SettingsValues::categoryMinor1, window.editJobCode2},
        {&SettingsValues::categoryMajor2, window.editJobCode3},
        {&SettingsValues::categoryMinor2, window.editJobCode4},
    };
    for (const auto& [member, list] : lists) {
        if (row.number == member)
            return list;
    }
    for (const auto& [member, check] : checks) {
        if (row.ticked == member)
            return check;
    }
    for (const auto& [member, box] : boxes) {
        if (row.text == member)
            return box;
    }
    return nullptr;
}

// An index the list does not hold leaves it without a selection.
static void SelectItem(QComboBox* list, int index)
{
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

static void FillWhenGiven(QLineEdit* box, const std::string& text)
{
    if (!text.empty())
        box->setText(ShiftJisToQString(text));
}

void MainWindow::loadSettings()
{
    const std::optional<SettingsValues> stored = ReadSettingsFile(settingsPath());
    if (!stored) {
        setAllRowsChecked(true);
        chkOutput->setChecked(true);
        clstOutput->setCurrentRow(0);
        return;
    }
    const SettingsValues& values = *stored;
    site.baseAddress = SiteConfigForSettings(values).baseAddress;
    m_outputFormat = values.outputFormat;

    // In the file's order, so that the recency boxes' handlers see the ticks
    // as they always have.
    const OutputFieldChecks* fields = nullptr;
    for (const ConditionRow& row : ConditionRows()) {
        QWidget* const control = ConditionControlOf(*this, row);
        // The start position is for one run: it is never restored.
        if (control == chkRetry || control == editRetry)
            continue;
        switch (row.kind) {
        case ConditionKind::DropDown: SelectItem(static_cast<QComboBox*>(control), values.*row.number); break;
        case ConditionKind::Check: static_cast<QCheckBox*>(control)->setChecked(values.*row.ticked); break;
        case ConditionKind::Text:
        case ConditionKind::Digits: FillWhenGiven(static_cast<QLineEdit*>(control), values.*row.text); break;
        case ConditionKind::WordsMode: {
            const int mode = values.*row.number;
            (mode == 1 ? rdoWordType2 : mode == 2 ? rdoWordType3 : rdoWordType1)->setChecked(true);
            break;
        }
        case ConditionKind::FieldTicks: fields = &(values.*row.fields); break;
        }
    }

    int ticked = 0;
    int firstTicked = -1;
    {
        const QSignalBlocker quiet(clstOutput);
        for (int row = 0; row < clstOutput->count(); ++row) {
            const bool on = fields && row < kOutputFieldCount && (*fields)[static_cast<size_t>(row)];
            clstOutput->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            if (on && ticked++ == 0)
                firstTicked = row;
        }
    }
    if (ticked > 0 && ticked == clstOutput->count())
        chkOutput->setChecked(true);
    clstOutput->setCurrentRow(firstTicked >= 0 ? firstTicked : 0);
    btnStart->setFocus();
}

bool MainWindow::saveSettings()
{
    std::error_code error;
    if (!std::filesystem::is_directory(settingsPath().parent_path(), error))
        return true; // nowhere to keep them, as before any db folder existed
    if (WriteSettingsFile(settingsPath(), currentSettings()))
        return true;
    ShowNotice(this,
               QStringLiteral("設定ファイルを保存できませんでした。\r\n%1").arg(PathToQString(settingsPath())),
               Utf8Text(kTitleError));
    return false;
}

SettingsValues MainWindow::currentSettings() const
{
    SettingsValues values;
    values.outputFormat = m_outputFormat;
    for (const ConditionRow& row : ConditionRows()) {
        QWidget* const control = ConditionControlOf(*this, row);
        switch (row.kind) {
        case ConditionKind::DropDown: values.*row.number = static_cast<QComboBox*>(control)->currentIndex(); break;
        case ConditionKind::Check: values.*row.ticked = static_cast<QCheckBox*>(control)->isChecked(); break;
        case ConditionKind::Text:
        case ConditionKind::Digits:
            values.*row.text = QStringToShiftJis(static_cast<QLineEdit*>(control)->text());
            break;
        case ConditionKind::WordsMode:
            values.*row.number = rdoWordType2->isChecked() ? 1 : rdoWordType3->isChecked() ? 2 : 0;
            break;
        case ConditionKind::FieldTicks:
            for (int item = 0; item < clstOutput->count() && item < kOutputFieldCount; ++item)
                (values.*row.fields)[static_cast<size_t>(item)] = clstOutput->item(item)->checkState()
                    == Qt::Checked;
            break;
        }
    }
    return values;
}

} // namespace kenmori
