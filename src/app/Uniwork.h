#pragma once
// The program's only window: the search conditions, the output-field check
// list, the buttons of a run and its progress. The window keeps to the
// controls; reading and writing the settings file is SettingsFile's.

#include "app/RunRecords.h"

#include <QWidget>

#include <filesystem>
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
class TMyEdit;
class TMyEdit2;
class TVistaAltFix;

// The window's face at 12 pixels: MS P Gothic where it is installed,
// else the Japanese Gothic face that the setup installs.
QFont MainWindowFont();

class TFrmMain : public QWidget {
    Q_OBJECT
public:
    // programFolder holds db/; empty means the folder of the program file.
    explicit TFrmMain(std::filesystem::path programFolder = {}, QWidget* parent = nullptr);
    ~TFrmMain() override;

    void LoadSettings();
    void SaveSettings();

    std::filesystem::path SettingsPath() const;
    std::filesystem::path DatabasePath() const;

    bool databaseReady = false; // db/km_data.db existed at creation
    int resultCode = 0;         // outcome of the current or last run
    RunState runState;
    std::string cityCodes;

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
    TMyEdit* editJobNo1 = nullptr;
    TMyEdit* editJobNo2 = nullptr;
    TMyEdit* editJobCode1 = nullptr;
    TMyEdit* editJobCode2 = nullptr;
    TMyEdit* editJobCode3 = nullptr;
    TMyEdit* editJobCode4 = nullptr;
    TMyEdit2* editRetry = nullptr;

public slots:
    void chkJobSet1Click();
    void chkJobSet2Click();
    void chkRetryClick();
    void editWordDblClick();
    void editCityDblClick();
    void editJobNoDblClick(QLineEdit* box);
    void chkOutputClick();
    void clstOutputClickCheck();
    void btnClearClick();
    void btnStartClick();
    void btnCancelClick();
    void WMAfterShow();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Ends the message loop without closing the window, so nothing is saved.
    virtual void TerminateApplication();

private:
    void BuildLayout();
    void CreateNumberBoxes();
    void SetTabOrder();
    void ConnectHandlers();
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);

    void SetAllRowsChecked(bool checked);
    void SetOutputTickSilently(bool checked);

    std::filesystem::path m_programFolder;
    TVistaAltFix* m_vistaAltFix = nullptr;
    bool m_shownBefore = false;
};
