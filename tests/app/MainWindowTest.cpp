#include "app/DialogService.h"
#include "app/MainWindow.h"
#include "controls/DigitBox.h"
#include "text/CodePage932.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <memory>
#include <sstream>

using namespace kenmori;

// The window without the end of the message loop, which would end the test.
class TestWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    int terminations = 0;

protected:
    void terminateApplication() override { ++terminations; }
};

static std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A program folder of the test's own: db/, a reference database file when
// asked for, and a settings file when given.
static std::filesystem::path ProgramFolderIn(const QTemporaryDir& dir, bool withDatabase,
                                             const std::string& settings = {})
{
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directories(folder / "db");
    if (withDatabase)
        std::ofstream(folder / "db" / "km_data.db", std::ios::binary) << "";
    if (!settings.empty())
        std::ofstream(folder / "db" / "km.ini", std::ios::binary) << settings;
    return folder;
}

// Shows the window and waits until it has handled its first show.
static std::unique_ptr<TestWindow> StartWindow(const std::filesystem::path& folder)
{
    auto window = std::make_unique<TestWindow>(folder);
    window->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return window;
}

static int TickedRows(const QListWidget* list)
{
    int ticked = 0;
    for (int row = 0; row < list->count(); ++row)
        ticked += list->item(row)->checkState() == Qt::Checked ? 1 : 0;
    return ticked;
}

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartTicksEveryField();
    void loadAndSaveRoundTrip();
    void emptyJobListTicksNothing();
    void checkListRules();
    void jobSetAndStartPositionRules();
    void clearAsksThenResets();
    void digitBoxes();
    void missingDatabaseReportsAndEnds();
    void closing();
    void tabOrder();
    void layoutPicture();
};

void MainWindowTest::firstStartTicksEveryField()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    auto window = StartWindow(ProgramFolderIn(dir, true));
    QCOMPARE(TickedRows(window->clstOutput), 94);
    QVERIFY(window->chkOutput->isChecked());
    QCOMPARE(window->clstOutput->currentRow(), 0);
    for (QComboBox* list : {window->cmbRegion1, window->cmbRegion2, window->cmbRegion3, window->cmbOfferType,
                            window->cmbJobHaken, window->cmbJobType, window->cmbJobIndustry})
        QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(window->cmbRegion1->count(), 49);
    QCOMPARE(window->cmbRegion1->itemText(13), QStringLiteral("東京"));
    QCOMPARE(window->cmbRegion1->itemText(48), QStringLiteral("海外"));
    QCOMPARE(window->cmbOfferType->count(), 9);
    QCOMPARE(window->cmbJobHaken->count(), 4);
    QCOMPARE(window->cmbJobType->count(), 15);
    QCOMPARE(window->cmbJobIndustry->count(), 100);
    QCOMPARE(window->cmbJobIndustry->itemText(1), QStringLiteral("01 : 農業"));
    QCOMPARE(window->cmbJobIndustry->itemText(99), QStringLiteral("99 : 分類不能の産業"));
    QVERIFY(window->editCity->text().isEmpty());
    QVERIFY(window->editJobNo1->text().isEmpty());
    QCOMPARE(window->editRetry->text(), QStringLiteral("0"));
    QVERIFY(!window->editRetry->isEnabled());
    QVERIFY(window->rdoWordType1->isChecked());
    QVERIFY(!window->chkJobSet1->isChecked() && !window->chkJobSet2->isChecked());
    QVERIFY(!window->btnCancel->isEnabled());
    QVERIFY(answers.shown.empty());
    QCOMPARE(window->terminations, 0);
}

void MainWindowTest::loadAndSaveRoundTrip()
{
    const std::string foreign = "[Other]\r\nKey=" + Sjis("値") + "\r\n; " + Sjis("メモ") + "\r\n";
    const std::string settings =
        "[Config]\r\nRegion1=13\r\nRegion2=99\r\nRegion3=0x1B\r\nJobType=14\r\n"
        "JobHaken=3\r\nJobIndustry=99\r\nJobSet1=1\r\nJobSet2=1\r\nJobSet3=1\r\nRetryCheck=1\r\n"
        "JobCheck=8\r\nCityWord="
        + Sjis("新宿区 渋谷区") + "\r\nFreeWord=" + Sjis("看護師")
        + "\r\n"
          "Retry=90\r\nJobNo1=12345\r\nJobNo2=123456789012\r\nJobCode1=011\r\nJobCode2=02\r\n"
          "JobCode3=\r\nJobCode4=45\r\nWordCheck=7\r\nJobList=1\r\n\r\n"
          "[Site]\r\nBaseAddress=http://127.0.0.1:9/\r\n"
        + foreign;
    DialogAnswers answers;
    QTemporaryDir dir;
    const auto folder = ProgramFolderIn(dir, true, settings);
    auto window = StartWindow(folder);

    QCOMPARE(window->cmbRegion1->currentIndex(), 13);
    QCOMPARE(window->cmbRegion2->currentIndex(), -1); // beyond the list
    QCOMPARE(window->cmbRegion3->currentIndex(), 27);
    QCOMPARE(window->cmbJobType->currentIndex(), 14);
    QCOMPARE(window->cmbJobHaken->currentIndex(), 3);
    QCOMPARE(window->cmbJobIndustry->currentIndex(), 99);
    QCOMPARE(window->cmbOfferType->currentIndex(), 8);
    QVERIFY(!window->chkJobSet1->isChecked());
    QVERIFY(window->chkJobSet2->isChecked());
    QVERIFY(window->chkJobSet3->isChecked());
    QVERIFY(!window->chkRetry->isChecked()); // the start position is never restored
    QCOMPARE(window->editRetry->text(), QStringLiteral("0"));
    QCOMPARE(window->editCity->text(), QStringLiteral("新宿区 渋谷区"));
    QCOMPARE(window->editWord->text(), QStringLiteral("看護師"));
    QCOMPARE(window->editJobNo2->text(), QStringLiteral("12345678"));
    QCOMPARE(window->editJobCode1->text(), QStringLiteral("011"));
    QVERIFY(window->editJobCode3->text().isEmpty());
    QVERIFY(window->rdoWordType1->isChecked());
    QCOMPARE(TickedRows(window->clstOutput), 1);
    QVERIFY(window->clstOutput->item(0)->checkState() == Qt::Checked);
    QCOMPARE(window->clstOutput->currentRow(), 0);
    QVERIFY(!window->chkOutput->isChecked());
    QCOMPARE(window->focusWidget(), window->btnStart);
    QCOMPARE(window->site.baseAddress, std::string("http://127.0.0.1:9"));

    window->rdoWordType3->setChecked(true);
    window->clstOutput->item(93)->setCheckState(Qt::Checked);
    // A start position ticked now is kept, though never restored.
    window->chkRetry->setChecked(true);
    window->editRetry->setText(QStringLiteral("120"));
    QVERIFY(window->close());
    QCOMPARE(FileBytes(folder / "db" / "km.ini"),
             "[Config]\r\nRegion1=13\r\nRegion2=-1\r\nRegion3=27\r\nJobType=14\r\nJobHaken=3\r\n"
             "JobIndustry=99\r\nJobSet1=0\r\nJobSet2=1\r\nJobSet3=1\r\nRetryCheck=1\r\nJobCheck=8\r\n"
             "CityWord="
                 + Sjis("新宿区 渋谷区") + "\r\nFreeWord=" + Sjis("看護師")
                 + "\r\nRetry=120\r\n"
                   "JobNo1=12345\r\nJobNo2=12345678\r\nJobCode1=011\r\nJobCode2=02\r\nJobCode3=\r\n"
                   "JobCode4=45\r\nWordCheck=2\r\nJobList=1"
                 + std::string(92, '0')
                 + "1\r\nOnlyNew=0\r\nOutputFormat=sjis\r\n\r\n"
                   "[Site]\r\nBaseAddress=http://127.0.0.1:9/\r\n"
                 + foreign);
}

void MainWindowTest::emptyJobListTicksNothing()
{
    DialogAnswers answers;
    QTemporaryDir emptyDir;
    auto window = StartWindow(ProgramFolderIn(emptyDir, true, "[Config]\r\nJobList=\r\n"));
    QCOMPARE(TickedRows(window->clstOutput), 0);
    QCOMPARE(window->clstOutput->currentRow(), 0);
    QVERIFY(!window->chkOutput->isChecked());

    // The first ticked row is the one selected; a full list ticks select-all.
    QTemporaryDir thirdDir;
    auto third = StartWindow(ProgramFolderIn(thirdDir, true, "[Config]\r\nJobList=001\r\n"));
    QCOMPARE(third->clstOutput->currentRow(), 2);
    QTemporaryDir fullDir;
    auto full = StartWindow(
        ProgramFolderIn(fullDir, true, "[Config]\r\nJobList=" + std::string(94, '1') + "\r\n"));
    QVERIFY(full->chkOutput->isChecked());
    QCOMPARE(TickedRows(full->clstOutput), 94);
}

void MainWindowTest::checkListRules()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    auto window = StartWindow(ProgramFolderIn(dir, true));
    QListWidget* list = window->clstOutput;

    // The user unticks one row: select-all goes off, the other rows stay.
    list->setCurrentRow(5);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(list->item(5)->checkState() == Qt::Unchecked);
    QVERIFY(!window->chkOutput->isChecked());
    QCOMPARE(TickedRows(list), 93);
    // Ticking the last unticked row turns select-all on.
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(window->chkOutput->isChecked());
    QCOMPARE(TickedRows(list), 94);

    QTest::mouseClick(window->chkOutput, Qt::LeftButton);
    QCOMPARE(TickedRows(list), 0);
    QCOMPARE(window->focusWidget(), list);
    QTest::mouseClick(window->chkOutput, Qt::LeftButton);
    QCOMPARE(TickedRows(list), 94);
}

void MainWindowTest::jobSetAndStartPositionRules()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    auto window = StartWindow(ProgramFolderIn(dir, true));
    QTest::mouseClick(window->chkJobSet1, Qt::LeftButton);
    QTest::mouseClick(window->chkJobSet3, Qt::LeftButton);
    QTest::mouseClick(window->chkJobSet2, Qt::LeftButton);
    QVERIFY(window->chkJobSet2->isChecked() && !window->chkJobSet1->isChecked());
    QTest::mouseClick(window->chkJobSet1, Qt::LeftButton);
    QVERIFY(window->chkJobSet1->isChecked() && !window->chkJobSet2->isChecked());
    QTest::mouseClick(window->chkJobSet1, Qt::LeftButton);
    QVERIFY(!window->chkJobSet1->isChecked() && !window->chkJobSet2->isChecked());
    QVERIFY(window->chkJobSet3->isChecked());

    const QColor white = QApplication::palette().color(QPalette::Base);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QCOMPARE(window->editRetry->palette().color(QPalette::Base), buttonFace);
    QVERIFY(!window->lblRetry->isEnabled());
    QTest::mouseClick(window->chkRetry, Qt::LeftButton);
    QVERIFY(window->editRetry->isEnabled() && window->lblRetry->isEnabled());
    QCOMPARE(window->editRetry->palette().color(QPalette::Base), white);
    QTest::mouseClick(window->chkRetry, Qt::LeftButton);
    QVERIFY(!window->editRetry->isEnabled() && !window->lblRetry->isEnabled());
    QCOMPARE(window->editRetry->palette().color(QPalette::Base), buttonFace);
}

void MainWindowTest::clearAsksThenResets()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    auto window = StartWindow(ProgramFolderIn(dir, true));
    const auto fill = [&] {
        window->cmbRegion1->setCurrentIndex(13);
        window->cmbJobIndustry->setCurrentIndex(-1);
        window->chkJobSet1->setChecked(true);
        window->chkRetry->setChecked(true);
        window->editRetry->setText("95");
        window->editCity->setText(QStringLiteral("新宿区"));
        window->editJobCode4->setText("02");
        window->rdoWordType2->setChecked(true);
        window->clstOutput->item(3)->setCheckState(Qt::Unchecked);
        window->lblStatus->setText("x");
    };
    fill();
    answers.questionAnswers = {false};
    window->clearConditions();
    QCOMPARE(answers.shown.size(), size_t(1));
    QCOMPARE(answers.shown[0].title, QStringLiteral("変更確認"));
    QCOMPARE(answers.shown[0].text, QStringLiteral("設定した条件を初期化します。\nよろしいですか？"));
    QCOMPARE(window->cmbRegion1->currentIndex(), 13);
    QCOMPARE(window->editRetry->text(), QStringLiteral("95"));
    QCOMPARE(TickedRows(window->clstOutput), 93);

    answers.questionAnswers = {true};
    QTest::mouseClick(window->btnClear, Qt::LeftButton);
    QCOMPARE(window->cmbRegion1->currentIndex(), 0);
    QCOMPARE(window->cmbJobIndustry->currentIndex(), 0);
    QVERIFY(!window->chkJobSet1->isChecked() && !window->chkRetry->isChecked());
    QCOMPARE(window->editRetry->text(), QStringLiteral("0"));
    QVERIFY(!window->editRetry->isEnabled() && !window->lblRetry->isEnabled());
    QVERIFY(window->editCity->text().isEmpty() && window->editJobCode4->text().isEmpty());
    QVERIFY(window->rdoWordType1->isChecked());
    QCOMPARE(TickedRows(window->clstOutput), 94);
    QVERIFY(window->chkOutput->isChecked());
    QCOMPARE(window->clstOutput->currentRow(), 0);
    QVERIFY(window->lblStatus->text().isEmpty());
    QCOMPARE(window->focusWidget(), window->cmbRegion1);
}

void MainWindowTest::digitBoxes()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    auto window = StartWindow(ProgramFolderIn(dir, true));
    const std::pair<QLineEdit*, int> boxes[] = {
        {window->editJobNo1, 5},   {window->editJobNo2, 8},   {window->editJobCode1, 3}, {window->editJobCode2, 2},
        {window->editJobCode3, 3}, {window->editJobCode4, 2}, {window->editRetry, 7}};
    window->chkRetry->setChecked(true);
    window->editRetry->clear();
    for (const auto& [box, length] : boxes) {
        QTest::keyClicks(box, "1a-23456789012");
        QCOMPARE(box->text(), QStringLiteral("123456789012").left(length));
    }
    QCOMPARE(window->editJobNo1->parentWidget(), window->group5);
    QCOMPARE(window->editJobCode4->parentWidget(), window->group9);
    QCOMPARE(window->editRetry->parentWidget(), window->group10);

    // A double-click selects the whole text, also across blanks.
    window->editCity->setText(QStringLiteral("新宿区 渋谷区"));
    for (QLineEdit* box : std::initializer_list<QLineEdit*>{window->editJobNo2, window->editRetry,
                                                            window->editCity, window->editWord}) {
        if (box->text().isEmpty())
            box->setText(QStringLiteral("看護 夜勤"));
        box->deselect();
        QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QCOMPARE(box->selectedText(), box->text());
    }
}

void MainWindowTest::missingDatabaseReportsAndEnds()
{
    const std::string settings = "[Config]\r\nRegion1=13\r\n";
    DialogAnswers answers;
    QTemporaryDir dir;
    const auto folder = ProgramFolderIn(dir, false, settings);
    auto window = StartWindow(folder);
    QVERIFY(!window->databaseReady);
    QCOMPARE(window->terminations, 1);
    QCOMPARE(answers.shown.size(), size_t(1));
    QVERIFY(answers.shown[0].kind == DialogKind::Notice);
    QCOMPARE(answers.shown[0].title, QStringLiteral("設定エラー"));
    QCOMPARE(answers.shown[0].text,
             QStringLiteral("DBファイルの設定が正しくありません。\n管理者に確認してください。"));
    QCOMPARE(window->cmbRegion1->currentIndex(), 0); // nothing was loaded
    window.reset();                                  // the program ends without closing the window
    QCOMPARE(FileBytes(folder / "db" / "km.ini"), settings);
}

void MainWindowTest::closing()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    const auto folder = ProgramFolderIn(dir, true);
    auto window = StartWindow(folder);

    // During a run, closing asks; No keeps everything, Yes hands on to Cancel.
    window->btnCancel->setEnabled(true);
    answers.questionAnswers = {false, true, true};
    QVERIFY(!window->close());
    QCOMPARE(window->resultCode, 0);
    QCOMPARE(answers.shown.at(0).title, QStringLiteral("終了確認"));
    QCOMPARE(answers.shown.at(0).text, QStringLiteral("取得処理の実行中ですが終了しますか？"));
    QVERIFY(!window->close());
    QCOMPARE(window->resultCode, 5);
    QVERIFY(!window->close());
    QCOMPARE(window->resultCode, 6);
    QVERIFY(window->isVisible());
    QVERIFY(!std::filesystem::exists(folder / "db" / "km.ini"));

    window->btnCancel->setEnabled(false);
    QVERIFY(window->close());
    QVERIFY(FileBytes(folder / "db" / "km.ini").starts_with("[Config]\r\nRegion1=0\r\n"));

    // Settings that cannot be kept are not lost silently: the user is told,
    // and the window still closes.
    window = StartWindow(folder);
    std::filesystem::remove(folder / "db" / "km.ini");
    std::filesystem::create_directories(folder / "db" / "km.ini" / "in the way");
    const size_t shown = answers.shown.size();
    QVERIFY(window->close());
    QCOMPARE(answers.shown.size(), shown + 1);
    QCOMPARE(answers.shown.back().title, QStringLiteral("Error"));
    QVERIFY(answers.shown.back().text.startsWith(QStringLiteral("設定ファイルを保存できませんでした。")));
}

void MainWindowTest::tabOrder()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    TestWindow window(ProgramFolderIn(dir, true));
    const QList<QWidget*> expected = {
        window.cmbRegion1,   window.cmbRegion2,   window.cmbRegion3,     window.editCity,     window.cmbOfferType,
        window.cmbJobHaken,  window.editJobNo1,   window.editJobNo2,     window.chkJobSet1,   window.chkJobSet2,
        window.chkJobSet3,   window.cmbJobType,   window.cmbJobIndustry, window.editWord,     window.rdoWordType1,
        window.rdoWordType2, window.rdoWordType3, window.editJobCode1,   window.editJobCode2, window.editJobCode3,
        window.editJobCode4, window.chkRetry,     window.editRetry,      window.chkOutput,    window.clstOutput,
        window.btnStart,     window.btnClear,     window.btnCancel};
    QList<QWidget*> chain;
    QWidget* widget = window.cmbRegion1;
    do {
        if (expected.contains(widget))
            chain << widget;
        widget = widget->nextInFocusChain();
    } while (widget != window.cmbRegion1 && chain.size() <= expected.size());
    QCOMPARE(chain, expected);
}

void MainWindowTest::layoutPicture()
{
    DialogAnswers answers;
    QTemporaryDir dir;
    auto window = StartWindow(ProgramFolderIn(dir, true));
    QCOMPARE(window->size(), QSize(400, 529));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->windowTitle(), QStringLiteral("Kenmori"));
    QCOMPARE(window->font().pixelSize(), 12);
    QCOMPARE(window->group11->geometry(), QRect(168, 314, 225, 184));
    QCOMPARE(window->btnCancel->geometry(), QRect(8, 470, 150, 28));
    QCOMPARE(window->clstOutput->visualItemRect(window->clstOutput->item(1)).height(), 16);

    const QString picture = QCoreApplication::applicationDirPath() + "/main_window.png";
    QVERIFY(window->grab().save(picture));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
