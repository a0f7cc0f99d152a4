// The main window's run control against a local site: the checks of Start,
// the output file, the warm-up, whole runs, Cancel, closing during a run,
// and the guards around the worker's start and end.

#include "DemoPages.h"
#include "DemoSite.h"
#include "app/DialogService.h"
#include "reference/ReferenceDatabase.h"
#include "run/SettingsFile.h"
#include "run/StartValidation.h"
#include "app/MainWindow.h"
#include "app/RunProgressView.h"
#include "controls/DigitBox.h"
#include "text/CodePage932.h"
#include "site/CurlSession.h"
#include "support/LocalHttpServer.h"
#include "run/SearchRequest.h"
#include "run/RunSession.h"
#include "support/OutputFormsTestSupport.h"
#include "support/RetrievalTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>

using namespace kenmori;

static constexpr int kLongWait = 60000;
static const QString kNothingFound = QStringLiteral("該当する求人情報は見つかりませんでした。");

// The window without the end of the program, the sound, or a launched program.
class RunWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    int terminations = 0;
    int alerts = 0;
    std::function<void()> onAlert;
    std::vector<std::filesystem::path> opened;

protected:
    void terminateApplication() override { ++terminations; }
    void alertUser() override
    {
        ++alerts;
        if (onAlert)
            onAlert();
    }
    void openWithAssociatedProgram(const std::filesystem::path& file) override { opened.push_back(file); }
};

// Holds the first request that matches until released, and counts the
// matching ones; told of every request from the server's threads.
class RequestGate {
public:
    std::function<bool(const std::string&)> holds;

    void pass(const std::string& request)
    {
        std::unique_lock lock(m_mutex);
        if (!holds || !holds(request))
            return;
        ++m_matches;
        if (m_reached)
            return;
        m_reached = true;
        m_wake.wait(lock, [this] { return m_released; });
    }
    bool reached()
    {
        std::lock_guard lock(m_mutex);
        return m_reached;
    }
    int matches()
    {
        std::lock_guard lock(m_mutex);
        return m_matches;
    }
    void release()
    {
        {
            std::lock_guard lock(m_mutex);
            m_released = true;
        }
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_reached = false;
    bool m_released = false;
    int m_matches = 0;
};

static bool IsDetailRequest(const std::string& request)
{
    return request.starts_with("GET ") && request.find("dispDetailBtn") != std::string::npos;
}

// The CSV line the product must write for the fields (UTF-8).
static std::string ExpectedLine(const DemoFields& fields)
{
    std::string line;
    for (const std::string& field : fields) {
        line += line.empty() ? "\"" : ",\"";
        for (const char c : field)
            line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return Utf8ToShiftJis(line);
}

// A program folder with the built reference database and a settings file
// pointing at the site; configLines are UTF-8.
struct RunSetup {
    QTemporaryDir dir;
    RequestGate gate;
    DemoSite site;
    DialogAnswers answers;
    std::filesystem::path folder;
    std::unique_ptr<RunWindow> window;

    explicit RunSetup(int postings = 75, DemoFault fault = DemoFault::None, int faultTargets = kDemoFaultAnyPage)
        : site(options(postings, fault, faultTargets))
        , folder(dir.path().toStdString())
    {
        std::filesystem::create_directories(folder / "db");
        std::filesystem::copy_file(QCoreApplication::applicationDirPath().toStdString() + "/db/km_data.db",
                                   folder / "db" / "km_data.db");
        site.start();
    }
    ~RunSetup()
    {
        gate.release();
        window.reset();
    }

    DemoSiteOptions options(int postings, DemoFault fault, int faultTargets)
    {
        DemoSiteOptions options{postings, "13010-1234567",
                                [this](const std::string& request) { gate.pass(request); }};
        options.fault = fault;
        options.faultShare = 1.0;
        options.faultTargets = faultTargets;
        return options;
    }

    void open(const std::string& configLines = {}, std::string baseAddress = {})
    {
        if (baseAddress.empty())
            baseAddress = site.baseAddress();
        // Every output field unless the lines say otherwise.
        const std::string jobList = configLines.find("JobList=") == std::string::npos
            ? "JobList=" + std::string(kOutputFieldCount, '1') + "\r\n"
            : std::string();
        const std::string text = "[Config]\r\n" + jobList + configLines + "[Site]\r\nBaseAddress=" + baseAddress
            + "\r\n";
        std::ofstream(folder / "db" / "km.ini", std::ios::binary) << Utf8ToShiftJis(text);
        window = std::make_unique<RunWindow>(folder);
        window->site.pacing = NoPauses();
        window->show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    std::filesystem::path csv(const char* name = "list.csv") const { return folder / name; }

    // Start with the file name answered; true when the window locked for a run.
    bool start(const std::filesystem::path& file)
    {
        answers.savePaths.push_back(QString::fromStdString(file.string()));
        window->startRun();
        return window->btnCancel->isEnabled();
    }

    bool waitForEnd() const
    {
        return QTest::qWaitFor([this] { return !window->btnCancel->isEnabled(); }, kLongWait);
    }

    const ShownDialog& last() const { return answers.shown.back(); }

    // The postings the site lists for the conditions of the settings file.
    std::vector<const DemoPosting*> hits() const
    {
        const std::optional<SettingsValues> values = ReadSettingsFile(folder / "db" / "km.ini");
        const SearchConditions conditions = ConditionsForRun(values.value_or(SettingsValues{}), StartCheck{});
        return site.matching(ParseSearchBody(BuildSearchRequestBody(conditions)));
    }
};

static bool Unlocked(const RunWindow& window)
{
    return window.btnStart->isEnabled() && window.btnClear->isEnabled() && !window.btnCancel->isEnabled()
        && window.cmbRegion1->isEnabled() && window.editJobNo1->isEnabled() && window.clstOutput->isEnabled()
        && window.rdoWordType3->isEnabled() && window.lblJobCodeBar2->isEnabled()
        && window.editRetry->isEnabled() == window.chkRetry->isChecked()
        && window.lblRetry->isEnabled() == window.chkRetry->isChecked() && window.runSession() == nullptr
        && QGuiApplication::overrideCursor() == nullptr;
}

static bool Locked(const RunWindow& window)
{
    return !window.btnStart->isEnabled() && !window.btnClear->isEnabled() && window.btnCancel->isEnabled()
        && !window.cmbRegion1->isEnabled() && !window.editJobNo2->isEnabled() && !window.clstOutput->isEnabled()
        && !window.rdoWordType1->isEnabled() && !window.lblSelRegion3->isEnabled()
        && !window.editRetry->isEnabled() && !window.chkRetry->isEnabled()
        && QGuiApplication::overrideCursor() != nullptr;
}

class RunControlTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void startChecksTheConditions();
    void outputFileName();
    void fullRunWritesTheSitesPostings();
    void endOfRunMessages();
    void unreachableSite();
    void cancelDuringRetrieval();
    void failedListPageEndsTheRunIncomplete();
    void closingDuringRetrieval();
    void cancelAtTheSearch();
    void cancelDuringTheWarmUp();
    void progressView();
    void cancelledRunGoesOnAndOnlyNewFindsNothingNew();
    void damagedHistoryIsToldAndTheRunGoesOn();
    void workbookChosenInTheSaveDialog();
};

void RunControlTest::initTestCase()
{
    ClearProxyEnvironment();
}

void RunControlTest::init()
{
    ClearStoredCookies();
}

void RunControlTest::startChecksTheConditions()
{
    RunSetup run;
    run.open();
    RunWindow& w = *run.window;
    const auto failsWith = [&](const QString& message, QWidget* focus) {
        w.btnStart->setFocus();
        const size_t before = run.answers.shown.size();
        w.startRun();
        return run.answers.shown.size() == before + 1 && run.last().kind == DialogKind::Notice
            && run.last().title == QStringLiteral("設定確認") && run.last().text == message
            && w.focusWidget() == focus && Unlocked(w);
    };
    const auto jobNumber = [&](const char* first, const char* second) {
        w.editJobNo1->setText(first);
        w.editJobNo2->setText(second);
    };
    const QString jobNoWrong = QStringLiteral("求職番号の入力が正しくありません。");
    const QString jobNoDigits = QStringLiteral("求職番号の入力桁数が正しくありません。");
    const QString codeWrong = QStringLiteral("職業分類コードの入力が正しくありません。");
    jobNumber("", "1234567");
    QVERIFY(failsWith(jobNoWrong, w.editJobNo1));
    jobNumber("1234", "1234567");
    QVERIFY(failsWith(jobNoDigits, w.editJobNo1));
    jobNumber("12345", "");
    QVERIFY(failsWith(jobNoWrong, w.editJobNo2));
    jobNumber("12345", "12345");
    QVERIFY(failsWith(jobNoDigits, w.editJobNo2));
    jobNumber("", "");
    w.editJobCode2->setText("02");
    QVERIFY(failsWith(codeWrong, w.editJobCode1));
    w.editJobCode2->clear();
    w.editJobCode4->setText("02");
    QVERIFY(failsWith(codeWrong, w.editJobCode3));
    w.editJobCode4->clear();
    for (int row = 0; row < w.clstOutput->count(); ++row)
        w.clstOutput->item(row)->setCheckState(Qt::Unchecked);
    QVERIFY(failsWith(QStringLiteral("ファイルへの出力項目は１つ以上を指定してください。"), w.clstOutput));
    w.clstOutput->item(5)->setCheckState(Qt::Checked);

    // City names need the first prefecture choice, whatever the others hold.
    w.editCity->setText(QStringLiteral(" 新宿区 "));
    w.cmbRegion2->setCurrentIndex(13);
    QVERIFY(failsWith(QStringLiteral("市区町村名に対する都道府県を指定してください。"), w.cmbRegion1));
    w.cmbRegion1->setCurrentIndex(13);
    w.editCity->setText(QStringLiteral("存在しない区"));
    w.startRun();
    QVERIFY(run.last().text.contains(QStringLiteral("存在しない区")) && w.focusWidget() == w.editCity);

    // The start position: at least 30, else the focus stays where it was.
    w.editCity->setText(QStringLiteral("新宿区"));
    w.chkRetry->setChecked(true);
    const QString retryMessage = QStringLiteral("開始位置の指定は30以上の数値を入力してください。");
    w.editRetry->setText("29");
    QVERIFY(failsWith(retryMessage, w.btnStart));
    w.editRetry->setText("");
    QVERIFY(failsWith(retryMessage, w.btnStart));

    // Look-alikes typed by input methods become their code page 932 forms;
    // a character the code page lacks is refused, named; the boxes take no
    // more than the settings file keeps.
    w.editWord->setText(QStringLiteral("9時〜17時 − 事務"));
    w.editWord->insert(QStringLiteral("🍣"));
    QVERIFY(failsWith(QStringLiteral("「🍣」は使用できない文字です。\n別の文字で入力してください。"), w.editWord));
    QCOMPARE(w.editWord->text(), QStringLiteral("9時～17時 － 事務🍣"));
    w.editWord->clear();
    w.editWord->insert(QString(60, QChar(0x6771)));
    QCOMPARE(w.editWord->text().size(), 0); // 120 bytes: refused whole
    w.editWord->insert(QString(50, QChar(0x6771)));
    QCOMPARE(w.editWord->text().size(), 50);
    w.editWord->insert(QStringLiteral("a"));
    QCOMPARE(w.editWord->text().size(), 50);
    w.editWord->clear();

    // Passing conditions reach the save dialog; cancelling it changes nothing else.
    w.editRetry->setText("95");
    w.editJobNo1->setText("12345");
    w.editJobNo2->setText("1234567");
    w.editJobCode1->setText("011");
    const size_t before = run.answers.shown.size();
    w.startRun();
    QCOMPARE(run.answers.shown.size(), before + 1);
    QVERIFY(run.last().kind == DialogKind::SaveFile);
    QCOMPARE(run.last().text, QStringLiteral("求人取得リスト.csv"));
    QCOMPARE(w.editRetry->text(), QStringLiteral("90"));
    QVERIFY(Unlocked(w));
}

void RunControlTest::outputFileName()
{
    // Each run is cancelled during its warm-up, before any page arrives.
    LocalHttpServer quiet;
    RunSetup run(0);
    run.open({}, quiet.baseAddress());
    RunWindow& w = *run.window;
    const auto startAndCancel = [&](const std::filesystem::path& chosen) {
        const bool locked = run.start(chosen);
        if (locked)
            w.cancelRun(); // during the warm-up: the session ends without a search
        return locked && run.waitForEnd();
    };

    QVERIFY(startAndCancel(run.folder / "result"));
    QCOMPARE(w.runState.outputPath, run.folder / "result.csv");
    QVERIFY(startAndCancel(run.folder / "result.CSV"));
    QCOMPARE(w.runState.outputPath, run.folder / "result.CSV");
    std::ofstream(run.folder / "result.txt.csv") << "old";
    QVERIFY(startAndCancel(run.folder / "result.txt"));
    QCOMPARE(w.runState.outputPath, run.folder / "result.txt.csv");
    // Replaced only when the search goes out: a run cancelled before leaves it.
    QCOMPARE(ReadFileBytes(run.folder / "result.txt.csv"), std::string("old"));

    // Cancel during the warm-up asks nothing and ends silently, as a
    // confirmed Cancel does: nothing was searched.
    QCOMPARE(w.resultCode, int(kResultCancelled));
    QVERIFY(run.last().kind == DialogKind::SaveFile);
    QCOMPARE(w.alerts, 0);
    QVERIFY(Unlocked(w));
    QVERIFY(w.lblStatus->text().isEmpty());
    for (const ShownDialog& shown : run.answers.shown)
        QVERIFY(shown.kind != DialogKind::Question);

    // A name that cannot be cleared away stops the run before it starts.
    std::filesystem::create_directories(run.folder / "busy.csv" / "inside");
    const size_t before = run.answers.shown.size();
    QVERIFY(!run.start(run.folder / "busy.csv"));
    QCOMPARE(run.answers.shown.size(), before + 2);
    QCOMPARE(run.last().title, QStringLiteral("Error"));
    QCOMPARE(run.last().text,
             QStringLiteral("選択されたファイルが他のアプリケーションで使用中の為\n開くことができませんでした。"));
    QVERIFY(Unlocked(w));
}

void RunControlTest::fullRunWritesTheSitesPostings()
{
    RunSetup run;
    run.open();
    RunWindow& w = *run.window;
    const auto hits = run.hits();
    QVERIFY(hits.size() > 60); // three list pages
    QVERIFY(run.start(run.folder / "list"));
    QVERIFY(Locked(w));
    QCOMPARE(w.lblStatus->text(), QStringLiteral("ページ情報を取得中です。しばらくお待ちください。"));
    QVERIFY(run.waitForEnd());

    // The open-file question, No by default and answered No.
    QCOMPARE(run.answers.shown.size(), size_t(2));
    QVERIFY(run.last().kind == DialogKind::Question);
    QCOMPARE(run.last().title, QStringLiteral("処理確認"));
    QCOMPARE(run.last().text,
             QStringLiteral("求人情報の取得が完了しました。\n保存した求人一覧のファイルを開きますか？"));
    QVERIFY(run.last().defaultNo);
    QVERIFY(w.opened.empty());
    QCOMPARE(w.resultCode, int(kResultLinesWritten));
    QCOMPARE(w.alerts, 1);
    QVERIFY(Unlocked(w));
    QVERIFY(w.lblStatus->text().isEmpty());
    QCOMPARE(w.prgBar->value(), 0);
    QCOMPARE(w.prgBar->maximum(), int(hits.size()));
    QVERIFY(w.runState.siteCookie.starts_with("JSESSIONID="));
    QVERIFY(!std::filesystem::exists(run.folder / "db" / "tmp.dat"));

    // Three list pages of postings, every field as the site's own data has it.
    const std::vector<std::string> lines = CsvDataLines(run.csv());
    QCOMPARE(lines.size(), hits.size());
    for (size_t i = 0; i < lines.size(); ++i)
        QCOMPARE(QString::fromStdString(ShiftJisToUtf8(lines[i])),
                 QString::fromStdString(ShiftJisToUtf8(ExpectedLine(run.site.expectedFields(*hits[i])))));
}

void RunControlTest::endOfRunMessages()
{
    RunSetup run(3);
    run.open();
    RunWindow& w = *run.window;
    const auto runEndsWith = [&](const std::filesystem::path& file, int code, const QString& title,
                                 const QString& text) {
        const int alerts = w.alerts;
        return run.start(file) && run.waitForEnd() && w.resultCode == code && run.last().title == title
            && run.last().text == text && w.alerts == alerts + 1 && Unlocked(w);
    };
    const QString error = QStringLiteral("Error");

    // Yes to the open-file question opens the file; a file gone by then is reported.
    run.answers.questionAnswers = {true};
    QVERIFY(run.start(run.csv()) && run.waitForEnd());
    QCOMPARE(w.opened, std::vector<std::filesystem::path>{run.csv()});
    w.onAlert = [&] { std::filesystem::remove(run.csv()); };
    run.answers.questionAnswers = {true};
    QVERIFY(runEndsWith(run.csv(), kResultLinesWritten, error,
                        QStringLiteral("該当するファイルが見つかりませんでした。")));
    QCOMPARE(w.opened.size(), size_t(1));
    w.onAlert = nullptr;

    QVERIFY(runEndsWith(run.folder / "missing" / "list.csv", kResultOutputFailed, error,
                        QStringLiteral("出力ファイルに書き込めませんでした。\r\n保存先を確認してください。")));
    w.editWord->setText(QStringLiteral("どの求人にもない言葉"));
    QVERIFY(runEndsWith(run.csv(), kResultNothingFound, QStringLiteral("検索終了"), kNothingFound));
    w.editWord->clear();
    w.editJobNo1->setText("99999");
    w.editJobNo2->setText("9999999");
    QVERIFY(runEndsWith(run.csv(), kResultUnknownJobSeeker, error,
                        QStringLiteral("指定された求職番号は存在しません。\r\n入力内容を確認してください。")));
    QVERIFY(CsvDataLines(run.csv()).empty());
}

void RunControlTest::unreachableSite()
{
    std::string closedAddress;
    {
        LocalHttpServer closed;
        closedAddress = closed.baseAddress();
    }
    RunSetup run(0);
    run.open({}, closedAddress);
    RunWindow& w = *run.window;
    w.site.warmUpTimeLimit = std::chrono::milliseconds(300);
    std::ofstream(run.csv(), std::ios::binary) << "earlier run";
    const QString unreachable = QStringLiteral(
        "サイトへのアクセスができませんでした。\r\nしばらく時間を置いてから再度実行してください。");
    QVERIFY(run.start(run.csv()));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.resultCode, int(kResultSiteUnreachable));
    QCOMPARE(run.last().title, QStringLiteral("Error"));
    QCOMPARE(run.last().text, unreachable);
    QCOMPARE(w.alerts, 1);
    QVERIFY(Unlocked(w));
    QCOMPARE(ReadFileBytes(run.csv()), std::string("earlier run")); // the user's file survives

    // A search page that sends the browser to another host is not the
    // site's: the run ends the same way instead of waiting for a Cancel.
    LocalHttpServer elsewhere;
    elsewhere.get("/kensaku/GECA110010.do", [&](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("http://localhost:" + std::to_string(elsewhere.port()) + "/away");
    });
    elsewhere.get("/away", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("<html>away</html>", "text/html");
    });
    w.site.baseAddress = elsewhere.baseAddress();
    w.site.warmUpTimeLimit = std::chrono::milliseconds(3000);
    QVERIFY(run.start(run.csv()));
    QVERIFY(run.waitForEnd());
    QVERIFY(!elsewhere.requests().empty());
    QCOMPARE(w.resultCode, int(kResultSiteUnreachable));
    QCOMPARE(run.last().text, unreachable);
    for (const RecordedRequest& request : elsewhere.requests())
        QVERIFY(request.method == "GET");
}

void RunControlTest::failedListPageEndsTheRunIncomplete()
{
    // The second list page fails every time it is asked for, or the site
    // answers it with its search screen: either way the run says it is
    // incomplete and keeps the first page's lines.
    for (const DemoFault fault : {DemoFault::ServerError, DemoFault::NoList}) {
        RunSetup run(120, fault, kDemoFaultPager);
        QVERIFY(run.hits().size() > size_t{kDemoDefaultPageSize});
        run.open("JobNo1=13010\r\nJobNo2=1234567\r\n");
        RunWindow& w = *run.window;
        w.clstOutput->item(5)->setCheckState(Qt::Unchecked);
        QVERIFY(run.start(run.csv()));
        // The conditions are kept as the run starts.
        QVERIFY(!ReadSettingsFile(run.folder / "db" / "km.ini")->outputFields[5]);
        QVERIFY(run.waitForEnd());

        QCOMPARE(w.resultCode, int(kResultListFailed));
        QCOMPARE(run.last().title, QStringLiteral("Error"));
        QCOMPARE(run.last().text,
                 QStringLiteral("求人一覧の取得に失敗したため、途中で終了しました。\r\n"
                                "取得済みの求人情報はファイルに保存されています。"));
        QVERIFY(Unlocked(w));
        QCOMPARE(CsvDataLines(run.csv()).size(), size_t{kDemoDefaultPageSize});

        // The run log tells what happened, without the job-seeker number.
        const std::string log = ReadFileBytes(run.folder / "db" / "run.log");
        QVERIFY(log.starts_with("=== run "));
        const size_t conditions = log.find("\nconditions: ");
        QVERIFY(conditions != std::string::npos);
        const std::string conditionLine = log.substr(conditions, log.find('\n', conditions + 1) - conditions);
        QVERIFY(conditionLine.find("Region1=0") != std::string::npos);
        QVERIFY(conditionLine.find("13010") == std::string::npos
                && conditionLine.find("JobNo") == std::string::npos);
        QVERIFY(log.find("POST /kensaku/GECA110030.do 200 ") != std::string::npos);
        QVERIFY(log.find("GET /kensaku/GECA110010.do 200 ") != std::string::npos);
        QVERIFY(log.find("page 1: 50 links") != std::string::npos);
        if (fault == DemoFault::ServerError)
            QVERIFY(log.find("POST /kensaku/GECA110030.do 500 ") != std::string::npos);
        else
            QVERIFY(log.find("page 2: no posting that an earlier page did not list (0 links, no count); 50 of ")
                    != std::string::npos);
        QVERIFY(log.find("lines written 50") != std::string::npos);
        QVERIFY(log.ends_with("outcome: list page failed, incomplete\n"));
    }
}

void RunControlTest::cancelDuringRetrieval()
{
    RunSetup run;
    run.gate.holds = IsDetailRequest;
    run.open("JobList=1\r\n");
    RunWindow& w = *run.window;
    QVERIFY(run.start(run.csv()));
    QTRY_VERIFY_WITH_TIMEOUT(run.gate.reached(), kLongWait);
    const QString total = QString::number(run.hits().size());
    // The session's progress comes as queued signals.
    QTRY_COMPARE_WITH_TIMEOUT(w.lblStatus->text(), QStringLiteral("求人情報 : 1件/%1件 取得中...").arg(total),
                              kLongWait);
    QCOMPARE(w.prgBar->maximum(), total.toInt());
    QCOMPARE(w.prgBar->value(), 1);

    // No: the run goes on.
    run.answers.questionAnswers = {false};
    QTest::mouseClick(w.btnCancel, Qt::LeftButton);
    QVERIFY(run.last().kind == DialogKind::Question);
    QCOMPARE(run.last().title, QStringLiteral("中断確認"));
    QCOMPARE(run.last().text, QStringLiteral("取得処理を中断します。\nよろしいですか？"));
    QCOMPARE(w.resultCode, 0);
    QVERIFY(Locked(w));

    // Yes: the worker stops after the posting in hand. A second Cancel while
    // it stops asks nothing and ends nothing.
    run.answers.questionAnswers = {true};
    QTest::mouseClick(w.btnCancel, Qt::LeftButton);
    QCOMPARE(w.resultCode, int(kResultCancelled));
    const size_t shown = run.answers.shown.size();
    QTest::mouseClick(w.btnCancel, Qt::LeftButton);
    QCOMPARE(run.answers.shown.size(), shown);
    QVERIFY(Locked(w));
    QVERIFY(w.runSession() != nullptr);

    run.gate.release();
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.answers.shown.size(), shown); // silent
    QCOMPARE(w.alerts, 0);
    QCOMPARE(w.resultCode, int(kResultCancelled));
    QVERIFY(Unlocked(w));
    QCOMPARE(run.gate.matches(), 1); // no posting after the one in hand
    QVERIFY(CsvDataLines(run.csv()).size() <= 1);
}

void RunControlTest::closingDuringRetrieval()
{
    RunSetup run;
    run.gate.holds = IsDetailRequest;
    run.open("JobList=1\r\n");
    RunWindow& w = *run.window;
    QVERIFY(run.start(run.csv()));
    QTRY_VERIFY_WITH_TIMEOUT(run.gate.reached(), kLongWait);
    w.cmbRegion1->setCurrentIndex(13); // shows whether the settings are saved at the end

    run.answers.questionAnswers = {false, true};
    QVERIFY(!w.close());
    QCOMPARE(run.last().title, QStringLiteral("終了確認"));
    QCOMPARE(w.resultCode, 0);
    QVERIFY(Locked(w));
    QVERIFY(!w.close());
    QCOMPARE(w.resultCode, int(kResultClosingStopped)); // the worker was asked to stop
    QVERIFY(Locked(w));
    std::filesystem::remove(run.folder / "db" / "km.ini");

    run.gate.release();
    QTRY_COMPARE_WITH_TIMEOUT(w.terminations, 1, kLongWait);
    QCOMPARE(run.answers.shown.size(), size_t(3)); // the file and the two questions only
    QVERIFY(!w.btnCancel->isEnabled());
    QVERIFY(w.runSession() == nullptr);
    QVERIFY(ReadFileBytes(run.folder / "db" / "km.ini").starts_with("[Config]\r\nRegion1=13\r\n"));
    QVERIFY(w.isVisible()); // the program ends; the window is not closed first
}

void RunControlTest::cancelAtTheSearch()
{
    RunSetup run;
    run.gate.holds = [](const std::string& request) { return request.starts_with("POST /kensaku/GECA110030.do"); };
    run.open("JobList=1\r\n");
    RunWindow& w = *run.window;
    QVERIFY(run.start(run.csv()));
    QTRY_VERIFY_WITH_TIMEOUT(run.gate.reached(), kLongWait);
    QCoreApplication::processEvents(); // the session's word that the search is out

    // The search is out but nothing came back: Cancel asks, and the window
    // stays locked until the session itself has ended.
    run.answers.questionAnswers = {true};
    w.cancelRun();
    QCOMPARE(run.last().title, QStringLiteral("中断確認"));
    QCOMPARE(w.resultCode, int(kResultCancelled));
    w.cancelRun();
    QVERIFY(Locked(w));

    run.gate.release();
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.resultCode, int(kResultCancelled));
    QCOMPARE(run.last().title, QStringLiteral("中断確認"));
    QVERIFY(Unlocked(w));
    QVERIFY(CsvDataLines(run.csv()).empty());
}

void RunControlTest::cancelDuringTheWarmUp()
{
    RunSetup run;
    run.gate.holds = [](const std::string& request) {
        return request.starts_with("GET /kensaku/GECA110010.do?action=initDisp");
    };
    run.open("JobList=1\r\n");
    RunWindow& w = *run.window;
    QVERIFY(run.start(run.csv()));
    QTRY_VERIFY_WITH_TIMEOUT(run.gate.reached(), kLongWait);
    w.cancelRun();
    QCOMPARE(w.resultCode, int(kResultCancelled)); // silent, as a confirmed Cancel
    QVERIFY(run.waitForEnd());
    QVERIFY(run.last().kind == DialogKind::SaveFile);
    QVERIFY(Unlocked(w));
    QVERIFY(!std::filesystem::exists(run.csv()));

    // The held page arrives late and starts nothing; the next run is whole.
    run.gate.release();
    QVERIFY(run.start(run.csv()));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.resultCode, int(kResultLinesWritten));
    QCOMPARE(CsvDataLines(run.csv()).size(), run.hits().size());
}

void RunControlTest::progressView()
{
    QProgressBar bar;
    QLabel status;
    RunProgressView view(bar, status, false);
    view.reset(0); // an empty result shows an empty bar, not a busy one
    view.step(0, 0, "a");
    QVERIFY(bar.maximum() > bar.minimum() && bar.value() == 0);
    view.reset(57);
    view.step(31, 57, "b"); // a run from a start position
    QCOMPARE(bar.value(), 31);
    view.step(60, 57, QStringLiteral("求人情報 : 60件/57件 取得中..."));
    QCOMPARE(bar.value(), 57);
    QCOMPARE(status.text(), QStringLiteral("求人情報 : 60件/57件 取得中..."));
}

void RunControlTest::cancelledRunGoesOnAndOnlyNewFindsNothingNew()
{
    RunSetup run;
    run.gate.holds = IsDetailRequest;
    run.open();
    RunWindow& w = *run.window;
    QVERIFY(run.start(run.csv()));
    QTRY_VERIFY_WITH_TIMEOUT(run.gate.reached(), kLongWait);
    run.answers.questionAnswers = {true};
    w.cancelRun();
    run.gate.release();
    QVERIFY(run.waitForEnd());
    QVERIFY(CsvDataLines(run.csv()).size() <= 1);

    // The next Start of the same search offers to go on, in the same file
    // without asking for one: the file ends as a whole run's would.
    const size_t shown = run.answers.shown.size();
    run.answers.questionAnswers = {true, false};
    w.startRun();
    QCOMPARE(run.answers.shown.at(shown).title, QStringLiteral("処理確認"));
    QVERIFY(run.answers.shown.at(shown).text.startsWith(QStringLiteral("前回中断した取得を続けますか？")));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.resultCode, int(kResultLinesWritten));
    const auto hits = run.hits();
    const std::vector<std::string> lines = CsvDataLines(run.csv());
    QCOMPARE(lines.size(), hits.size());
    for (size_t i = 0; i < lines.size(); ++i)
        QCOMPARE(lines[i], ExpectedLine(run.site.expectedFields(*hits[i])));

    // 新着のみ with nothing added: said in its own words, nothing fetched again.
    w.chkOnlyNew->setChecked(true);
    QVERIFY(run.start(run.folder / "new.csv"));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.resultCode, int(kResultNothingNew));
    QCOMPARE(run.last().text, QStringLiteral("新しい求人情報は見つかりませんでした。"));
    QVERIFY(CsvDataLines(run.folder / "new.csv").empty());
    QVERIFY(ReadSettingsFile(run.folder / "db" / "km.ini")->onlyNew);
}

void RunControlTest::damagedHistoryIsToldAndTheRunGoesOn()
{
    RunSetup run(20);
    run.open("JobList=1\r\n");
    RunWindow& w = *run.window;
    WriteFileBytes(run.folder / "db" / "history.db", std::string(8192, 'x'));
    QVERIFY(run.start(run.csv()));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.resultCode, int(kResultLinesWritten));
    QCOMPARE(CsvDataLines(run.csv()).size(), run.hits().size());
    QVERIFY(run.answers.shown.at(0).text.startsWith(QStringLiteral("履歴ファイルが壊れているため")));
    QCOMPARE(ReadFileBytes(run.folder / "db" / "history.damaged.db"), std::string(8192, 'x'));
}

void RunControlTest::workbookChosenInTheSaveDialog()
{
    RunSetup run(12);
    run.open();
    RunWindow& w = *run.window;
    QCOMPARE(ReadSettingsFile(run.folder / "db" / "km.ini")->outputFormat, OutputFormat::ShiftJisCsv);
    run.answers.saveFileTypes.push_back(2); // "Excelブック (*.xlsx)"
    QVERIFY(run.start(run.folder / "list"));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.runState.outputPath, run.folder / "list.xlsx");
    const WorkbookReading book = ReadWorkbook(run.folder / "list.xlsx");
    QVERIFY(book.opened);
    QCOMPARE(std::count(book.csv.begin(), book.csv.end(), '\n'), qsizetype(run.hits().size() + 1));
    QVERIFY(!std::filesystem::exists(run.folder / "list.xlsx.journal"));
    // Kept for the next run, whose dialog offers it first.
    QCOMPARE(ReadSettingsFile(run.folder / "db" / "km.ini")->outputFormat, OutputFormat::Workbook);
    QVERIFY(run.start(run.folder / "again"));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.runState.outputPath, run.folder / "again.xlsx");
    QCOMPARE(run.answers.shown[run.answers.shown.size() - 2].text, QStringLiteral("求人取得リスト.xlsx"));
    // A name typed with the other form's extension keeps it, and its form.
    run.answers.saveFileTypes.push_back(0);
    QVERIFY(run.start(run.folder / "typed.xlsx"));
    QVERIFY(run.waitForEnd());
    QCOMPARE(w.runState.outputPath, run.folder / "typed.xlsx");
    QVERIFY(ReadWorkbook(run.folder / "typed.xlsx").opened);
}

QTEST_MAIN(RunControlTest)
#include "RunControlTest.moc"
