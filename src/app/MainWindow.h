#pragma once
// The program's only window: the search conditions, the output-field check
// list, the buttons of a run and its progress. The window keeps to the
// controls; reading and writing the settings file is SettingsFile's.

#include "run/RunOutcome.h"
#include "run/RunSession.h"
#include "run/RunRecords.h"
#include "run/SettingsFile.h"
#include "site/SiteConfig.h"

#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kenmori {

class ReferenceDatabase;
class RunLog;
struct StartCheck;
class DigitBox;
class RunProgressView;
class RunSession;

// The window's face at 12 pixels: MS P Gothic where it is installed,
// else the Japanese Gothic face that the setup installs.
QFont MainWindowFont();

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // programFolder: where the program file lies (its db/ folder, or an
    // installed layout); empty means the folder of this program file.
    explicit MainWindow(std::filesystem::path programFolder = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    void loadSettings();
    // False, after a notice, when the file could not be written; true when
    // it was, or when there is no db folder to write it in.
    bool saveSettings();

    std::filesystem::path settingsPath() const;
    std::filesystem::path databasePath() const;
    std::filesystem::path runLogFile() const;
    std::filesystem::path lastListPageFile() const;
    std::filesystem::path historyFile() const;

    bool databaseReady = false; // db/km_data.db existed at creation
    int resultCode = 0;         // outcome of the current or last run, a RunResult
    // What the run left, once it has ended; its output file from Start on.
    RunState runState;
    std::string cityCodes;
    // The site the runs talk to, from [Site] of the settings; tests shorten
    // its pauses and time limit.
    SiteConfig site;

    // The session of the current run, from Start to its end.
    RunSession* runSession() const { return m_session; }

    // The controls, named as the handlers refer to them.
    QGroupBox* group1 = nullptr;
    QLabel* lblSelRegion1 = nullptr;
    QComboBox* cmbRegion1 = nullptr;
    QLabel* lblSelRegion2 = nullptr;
    QComboBox* cmbRegion2 = nullptr;
    QLabel* lblSelRegion3 = nullptr;
    QComboBox* cmbRegion3 = nullptr;
    QLabel* lblRegionComment = nullptr;
    QGroupBox* group2 = nullptr;
    QLineEdit* editCity = nullptr;
    QLabel* lblCityComment = nullptr;
    QGroupBox* group3 = nullptr;
    QComboBox* cmbOfferType = nullptr;
    QGroupBox* group4 = nullptr;
    QComboBox* cmbJobHaken = nullptr;
    QGroupBox* group5 = nullptr;
    QLabel* lblJobNo = nullptr;
    QCheckBox* chkJobSet1 = nullptr;
    QCheckBox* chkJobSet2 = nullptr;
    QCheckBox* chkJobSet3 = nullptr;
    QCheckBox* chkOnlyNew = nullptr; // only postings no earlier run of the search wrote
    QGroupBox* group6 = nullptr;
    QComboBox* cmbJobType = nullptr;
    QGroupBox* group7 = nullptr;
    QComboBox* cmbJobIndustry = nullptr;
    QGroupBox* group8 = nullptr;
    QLineEdit* editWord = nullptr;
    QLabel* lblWordComment = nullptr;
    QRadioButton* rdoWordType1 = nullptr;
    QRadioButton* rdoWordType2 = nullptr;
    QRadioButton* rdoWordType3 = nullptr;
    QGroupBox* group9 = nullptr;
    QLabel* lblJobCode1 = nullptr;
    QLabel* lblJobCodeBar1 = nullptr;
    QLabel* lblJobCode2 = nullptr;
    QLabel* lblJobCodeBar2 = nullptr;
    QGroupBox* group10 = nullptr;
    QCheckBox* chkRetry = nullptr;
    QLabel* lblRetry = nullptr;
    QGroupBox* group11 = nullptr;
    QCheckBox* chkOutput = nullptr;
    QListWidget* clstOutput = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnCancel = nullptr;
    QProgressBar* prgBar = nullptr;

    // The seven digit-only boxes, made in code after the layout.
    DigitBox* editJobNo1 = nullptr;
    DigitBox* editJobNo2 = nullptr;
    DigitBox* editJobCode1 = nullptr;
    DigitBox* editJobCode2 = nullptr;
    DigitBox* editJobCode3 = nullptr;
    DigitBox* editJobCode4 = nullptr;
    DigitBox* editRetry = nullptr;

public slots:
    void recentTwoDaysToggled();
    void recentWeekToggled();
    void startPositionToggled();
    void selectWords();
    void selectCities();
    void selectDigits(QLineEdit* box);
    void tickAllOutputFields();
    void outputFieldTicked();
    void clearConditions();
    void startRun();
    void cancelRun();
    void afterFirstShow();

public:
    // The single end of every run, for every RunResult.
    void endRun(int code);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Ends the message loop without closing the window, so nothing is saved.
    virtual void terminateApplication();
    // The question sound and the flashing taskbar button at the end of a run.
    virtual void alertUser();
    // Opens the finished file with the desktop's program for it.
    virtual void openWithAssociatedProgram(const std::filesystem::path& file);

private:
    void buildLayout();
    void createNumberBoxes();
    void applyTabOrder();
    void connectHandlers();
    void prepareForm();
    void loadOnFirstShow();
    void confirmClose(bool& canClose);

    void setAllRowsChecked(bool checked);
    void setOutputTickSilently(bool checked);

    // What the controls hold, as the settings file keeps it.
    SettingsValues currentSettings() const;

    // Where a run stands, as the window sees it.
    enum class RunPhase {
        Idle,
        WarmingUp,  // the session visits the site's search page
        Retrieving, // the search and the postings
    };

    bool validateStart(const SettingsValues& values, StartCheck& check);
    bool checkTextBoxCharacters();
    // The file and its form; the form chosen becomes the next one offered.
    std::optional<std::pair<std::filesystem::path, OutputFormat>> chooseOutputFile();
    void setConditionControlsEnabled(bool enabled);
    // The file of an interrupted run of the search that the user chose to
    // go on with; nothing for a new file.
    std::optional<std::filesystem::path> interruptedRunToResume(const SearchConditions& conditions);
    void startSession(const std::filesystem::path& outputFile, RunScope scope, OutputFormat format);
    void sessionEnded();
    void restoreCursor();

    std::filesystem::path m_programFolder;
    bool m_programFolderGiven = false; // tests: every file under it
    bool m_shownBefore = false;

    std::unique_ptr<ReferenceDatabase> m_database;
    std::unique_ptr<RunProgressView> m_progress;
    bool m_taskbarReady = false;
    std::unique_ptr<RunLog> m_runLog;
    RunPhase m_phase = RunPhase::Idle;
    OutputFormat m_outputFormat = OutputFormat::ShiftJisCsv; // kept in km.ini
    SearchConditions m_runConditions;
    RunSession* m_session = nullptr; // owned by the window
    bool m_cursorOverridden = false;
};

} // namespace kenmori
