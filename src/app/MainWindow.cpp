#include "app/MainWindow.h"

#include "app/DialogService.h"
#include "run/ProgramFolder.h"
#include "reference/ReferenceDatabase.h"
#include "run/SettingsFile.h"
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
    m_database = std::make_unique<ReferenceDatabase>(QString::fromStdU16String(databasePath().u16string()));
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

    for (QCheckBox* check : {chkJobSet1, chkJobSet2, chkJobSet3, chkRetry})
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

    SelectItem(cmbRegion1, values.Region1);
    SelectItem(cmbRegion2, values.Region2);
    SelectItem(cmbRegion3, values.Region3);
    SelectItem(cmbJobType, values.JobType);
    SelectItem(cmbJobHaken, values.JobHaken);
    SelectItem(cmbJobIndustry, values.JobIndustry);
    chkJobSet1->setChecked(values.JobSet1);
    chkJobSet2->setChecked(values.JobSet2);
    chkJobSet3->setChecked(values.JobSet3);
    SelectItem(cmbOfferType, values.JobCheck);
    FillWhenGiven(editCity, values.CityWord);
    FillWhenGiven(editWord, values.FreeWord);
    FillWhenGiven(editJobNo1, values.JobNo1);
    FillWhenGiven(editJobNo2, values.JobNo2);
    FillWhenGiven(editJobCode1, values.JobCode1);
    FillWhenGiven(editJobCode2, values.JobCode2);
    FillWhenGiven(editJobCode3, values.JobCode3);
    FillWhenGiven(editJobCode4, values.JobCode4);
    if (values.WordCheck == 1)
        rdoWordType2->setChecked(true);
    else if (values.WordCheck == 2)
        rdoWordType3->setChecked(true);
    else
        rdoWordType1->setChecked(true);

    int ticked = 0;
    int firstTicked = -1;
    {
        const QSignalBlocker quiet(clstOutput);
        for (int row = 0; row < clstOutput->count(); ++row) {
            const bool on = row < kOutputFieldCount && values.JobList[static_cast<size_t>(row)];
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
               QStringLiteral("設定ファイルを保存できませんでした。\r\n%1")
                   .arg(QString::fromStdU16String(settingsPath().u16string())),
               Utf8Text(kTitleError));
    return false;
}

SettingsValues MainWindow::currentSettings() const
{
    SettingsValues values;
    values.Region1 = cmbRegion1->currentIndex();
    values.Region2 = cmbRegion2->currentIndex();
    values.Region3 = cmbRegion3->currentIndex();
    values.JobType = cmbJobType->currentIndex();
    values.JobHaken = cmbJobHaken->currentIndex();
    values.JobIndustry = cmbJobIndustry->currentIndex();
    values.JobSet1 = chkJobSet1->isChecked();
    values.JobSet2 = chkJobSet2->isChecked();
    values.JobSet3 = chkJobSet3->isChecked();
    values.RetryCheck = chkRetry->isChecked();
    values.JobCheck = cmbOfferType->currentIndex();
    values.CityWord = QStringToShiftJis(editCity->text());
    values.FreeWord = QStringToShiftJis(editWord->text());
    values.Retry = QStringToShiftJis(editRetry->text());
    values.JobNo1 = QStringToShiftJis(editJobNo1->text());
    values.JobNo2 = QStringToShiftJis(editJobNo2->text());
    values.JobCode1 = QStringToShiftJis(editJobCode1->text());
    values.JobCode2 = QStringToShiftJis(editJobCode2->text());
    values.JobCode3 = QStringToShiftJis(editJobCode3->text());
    values.JobCode4 = QStringToShiftJis(editJobCode4->text());
    values.WordCheck = rdoWordType2->isChecked() ? 1 : rdoWordType3->isChecked() ? 2 : 0;
    for (int row = 0; row < clstOutput->count() && row < kOutputFieldCount; ++row)
        values.JobList[static_cast<size_t>(row)] = clstOutput->item(row)->checkState() == Qt::Checked;
    return values;
}
