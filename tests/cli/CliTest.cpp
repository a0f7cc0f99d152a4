// kenmori-cli end to end against the demonstration site: every field of
// every line against the site's own data, the exit statuses, Ctrl-C.

#include "DemoSite.h"
#include "run/ConditionChoices.h"
#include "text/CodePage932.h"
#include "run/CsvOutput.h"
#include "run/SearchRequest.h"
#include "run/OutputFormat.h"
#include "support/OutputFormsTestSupport.h"
#include "support/RetrievalTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <mutex>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <thread>

using namespace kenmori;

// The fields of one CSV line whose values are all quoted.
static std::vector<std::string> CsvFields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t at = 0;
    while (at < line.size() && line[at] == '"') {
        std::string value;
        for (++at; at < line.size() && !(line[at] == '"' && line[at + 1] != '"'); ++at) {
            value += line[at];
            if (line[at] == '"')
                ++at; // a doubled quote
        }
        fields.push_back(value);
        at += 2; // closing quote and comma
    }
    return fields;
}

struct CliResult {
    int exitCode = -1;
    std::string errorText; // standard error, UTF-8
};

class CliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::atomic<int> listRequests = 0; // the search's post and the pager's
    std::atomic<int> requests = 0;
    std::atomic<qint64> processId = 0;
    qint64 lastProcessId = 0;
    int interruptAtPager = 0; // Ctrl-C while this pager request is answered
    std::mutex searchBodiesMutex;
    std::vector<std::string> searchBodies; // every search post's body, in order
    DemoSite site{siteOptions()};
    std::filesystem::path settingsPath = dir.filePath("km.ini").toStdString();
    std::filesystem::path csvPath = dir.filePath("out.csv").toStdString();
    std::filesystem::path historyPath = dir.filePath("history.db").toStdString();
    bool killedOnPurpose = false; // the next run is killed by the test
    const std::string onlyJobNumber = "JobList=1" + std::string(kOutputFieldCount - 1, '0') + "\r\n";

    DemoSiteOptions siteOptions()
    {
        DemoSiteOptions options{100, "13010-1234567", [this](const std::string& request) {
                                    ++requests;
                                    if (request.starts_with("POST /kensaku/GECA110030.do")
                                        && ++listRequests == interruptAtPager + 1 && interruptAtPager > 0
                                        && processId > 0)
                                        ::kill(static_cast<pid_t>(processId.load()), SIGINT);
                                }};
        options.pageSize = 30;
        options.searchBodyLog = [this](const std::string& body) {
            const std::lock_guard lock(searchBodiesMutex);
            searchBodies.push_back(body);
        };
        return options;
    }

    void SetUp() override
    {
        EnsureCoreApplication();
        ClearProxyEnvironment();
        ASSERT_TRUE(site.start());
    }

    // A settings file in the program's own format; configLines are UTF-8.
    void writeSettings(const std::string& configLines, bool utf8WithMark = false)
    {
        writeSettings(configLines, site.baseAddress(), utf8WithMark);
    }
    void writeSettings(const std::string& configLines, const std::string& baseAddress, bool utf8WithMark = false)
    {
        const std::string text = "[Config]\r\n" + configLines + "[Site]\r\nBaseAddress=" + baseAddress + "\r\n";
        std::ofstream(settingsPath, std::ios::binary)
            << (utf8WithMark ? "\xEF\xBB\xBF" + text : Utf8ToShiftJis(text));
    }

    CliResult runCli(QStringList extra = {}, bool withSettings = true)
    {
        QStringList arguments{"--output",  QString::fromStdString(csvPath.string()),    "--pacing-ms", "0",
                              "--history", QString::fromStdString(historyPath.string())};
        if (withSettings)
            arguments << "--settings" << QString::fromStdString(settingsPath.string());
        QProcess process;
        process.start(KENMORI_CLI_PATH, arguments + extra);
        EXPECT_TRUE(process.waitForStarted());
        processId = process.processId();
        lastProcessId = processId;
        EXPECT_TRUE(process.waitForFinished(60000));
        processId = 0;
        EXPECT_EQ(process.exitStatus(), killedOnPurpose ? QProcess::CrashExit : QProcess::NormalExit);
        return {process.exitCode(), process.readAllStandardError().toStdString()};
    }

    // The postings the site lists for a search with these conditions.
    std::vector<const DemoPosting*> listedHits(const SearchConditions& conditions) const
    {
        return site.matching(ParseSearchBody(BuildSearchRequestBody(conditions)));
    }
};

static std::filesystem::path CliDbFolder()
{
    return std::filesystem::path(KENMORI_CLI_PATH).parent_path() / "db";
}

// The id of a process that has ended.
TEST_F(CliTest, EveryFieldOfEveryLineMatchesTheSitesOwnData)
{
    writeSettings("JobList=" + std::string(kOutputFieldCount, '1') + "\r\n");
    // A page file that a killed run left behind goes at the next start.
    QProcess ended;
    ended.start("sleep", {"0.1"});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedId = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const std::filesystem::path leftOver = CliDbFolder() / ("tmp." + std::to_string(endedId) + ".dat");
    std::ofstream(leftOver) << "left over";
    const CliResult result = runCli();
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    const auto hits = listedHits(SearchConditions{});
    const std::string total = std::to_string(hits.size());
    EXPECT_NE(result.errorText.find("求人情報 : " + total + "件/" + total + "件 取得中..."), std::string::npos);
    EXPECT_NE(result.errorText.find("求人情報の取得が完了しました。"), std::string::npos);

    const std::vector<std::string> lines = CsvDataLines(csvPath);
    ASSERT_EQ(lines.size(), hits.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const DemoFields expected = site.expectedFields(*hits[i]);
        const std::vector<std::string> fields = CsvFields(ShiftJisToUtf8(lines[i]));
        ASSERT_EQ(fields.size(), expected.size()) << lines[i];
        for (int f = 0; f < kOutputFieldCount; ++f)
            EXPECT_EQ(fields[f], expected[f]) << hits[i]->jobNumber << " " << OutputFieldNamesUtf8()[f];
    }
    // Its own page file is gone, and so is the one left over.
    EXPECT_FALSE(std::filesystem::exists(CliDbFolder() / ("tmp." + std::to_string(lastProcessId) + ".dat")));
    EXPECT_FALSE(std::filesystem::exists(leftOver));
}

TEST_F(CliTest, SettingsWithAByteOrderMarkAreReadAsUtf8)
{
    SearchConditions conditions;
    conditions.freeWords = Utf8ToShiftJis(site.postings().at(0).occupation);
    const auto hits = listedHits(conditions);
    ASSERT_FALSE(hits.empty());
    ASSERT_LT(hits.size(), site.postings().size());
    writeSettings(onlyJobNumber + "FreeWord=" + site.postings()[0].occupation + "\r\n", true);
    const CliResult result = runCli();
    EXPECT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_EQ(CsvDataLines(csvPath).size(), hits.size());
}

TEST_F(CliTest, OutcomesOfARunGiveTheirExitStatuses)
{
    writeSettings(onlyJobNumber + "FreeWord=どの求人にもない言葉\r\n");
    CliResult result = runCli();
    EXPECT_EQ(result.exitCode, 1) << result.errorText;
    EXPECT_NE(result.errorText.find("該当する求人情報は見つかりませんでした。"), std::string::npos);
    EXPECT_TRUE(CsvDataLines(csvPath).empty());

    writeSettings(onlyJobNumber + "JobNo1=99999\r\nJobNo2=9999999\r\n");
    result = runCli();
    EXPECT_EQ(result.exitCode, 8) << result.errorText;
    EXPECT_NE(result.errorText.find("指定された求職番号は存在しません。\n入力内容を確認してください。"),
              std::string::npos);

    writeSettings(onlyJobNumber);
    const std::filesystem::path goodPath = csvPath;
    csvPath = dir.filePath("missing/out.csv").toStdString();
    EXPECT_EQ(runCli().exitCode, 4);
    csvPath = goodPath;

    std::filesystem::remove(csvPath);
    site.stop();
    result = runCli();
    EXPECT_EQ(result.exitCode, 9) << result.errorText;
    EXPECT_NE(result.errorText.find("サイトへのアクセスができませんでした。"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(csvPath));
}

TEST_F(CliTest, InvalidConditionsAreReportedBeforeAnyRequest)
{
    // Without JobList no output field is ticked, as in the window.
    writeSettings("Region1=13\r\n");
    CliResult result = runCli();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("ファイルへの出力項目は１つ以上を指定してください。"), std::string::npos);

    writeSettings(onlyJobNumber + "RetryCheck=1\r\nRetry=29\r\n");
    result = runCli();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("開始位置の指定は30以上の数値を入力してください。"), std::string::npos);

    std::filesystem::remove(settingsPath);
    EXPECT_EQ(runCli().exitCode, 3);
    writeSettings(onlyJobNumber);
    EXPECT_EQ(runCli({"--database", dir.filePath("none.db")}).exitCode, 3);

    EXPECT_EQ(requests, 0);
    EXPECT_FALSE(std::filesystem::exists(csvPath));
}

TEST_F(CliTest, CtrlCKeepsTheLinesWrittenFromTheStartPosition)
{
    // Thirty a page: start at 35, taken as 30 (posting 31, page 2), Ctrl-C
    // while page 3 is asked for.
    interruptAtPager = 2;
    writeSettings(onlyJobNumber + "RetryCheck=1\r\nRetry=35\r\n");
    const CliResult result = runCli();
    EXPECT_EQ(result.exitCode, 2) << result.errorText;

    std::vector<std::string> expected;
    const auto hits = listedHits(SearchConditions{});
    ASSERT_GT(hits.size(), 60u);
    for (size_t i = 30; i < 60; ++i)
        expected.push_back("\"" + Utf8ToShiftJis(site.expectedFields(*hits[i])[kSlotJobNumber]) + "\"");
    EXPECT_EQ(CsvDataLines(csvPath), expected);
}

TEST_F(CliTest, AListPageThatFailsTwiceEndsIncompleteWithStatusFive)
{
    DemoSiteOptions options;
    options.postingCount = 45;
    options.pageSize = 30;
    options.fault = DemoFault::ServerError;
    options.faultShare = 1.0;
    options.faultTargets = kDemoFaultPager;
    DemoSite failing(options);
    ASSERT_TRUE(failing.start());
    writeSettings(onlyJobNumber, failing.baseAddress());
    const std::filesystem::path logPath = dir.filePath("run.log").toStdString();
    const CliResult result = runCli({"--log", QString::fromStdString(logPath.string())});
    EXPECT_EQ(result.exitCode, 5) << result.errorText;
    EXPECT_NE(result.errorText.find("求人一覧の取得に失敗したため、途中で終了しました。\n"
                                    "取得済みの求人情報はファイルに保存されています。"),
              std::string::npos);
    EXPECT_EQ(CsvDataLines(csvPath).size(), 30u);
    const std::string log = ReadFileBytes(logPath);
    EXPECT_NE(log.find("POST /kensaku/GECA110030.do 500 "), std::string::npos) << log;
    EXPECT_NE(log.find("lines written 30\noutcome: list page failed, incomplete\n"), std::string::npos) << log;

    // A pager that answers with the search screen instead of the list: the
    // same end, never "done".
    options.fault = DemoFault::NoList;
    DemoSite noList(options);
    ASSERT_TRUE(noList.start());
    writeSettings(onlyJobNumber, noList.baseAddress());
    std::filesystem::remove(logPath);
    const CliResult ended = runCli({"--log", QString::fromStdString(logPath.string())});
    EXPECT_EQ(ended.exitCode, 5) << ended.errorText;
    EXPECT_EQ(CsvDataLines(csvPath).size(), 30u);
    const std::string said = ReadFileBytes(logPath);
    EXPECT_NE(said.find("page 2: no posting that an earlier page did not list (0 links, no count); 30 of "),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("incomplete, kept as "), std::string::npos) << said;
}

TEST_F(CliTest, ValuesTheBoxesWouldRefuseAreNamedBeforeAnyRequest)
{
    writeSettings(onlyJobNumber + "JobNo1=1&a=1\r\nJobNo2=1234567\r\n");
    CliResult result = runCli();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("JobNo1"), std::string::npos) << result.errorText;

    writeSettings(onlyJobNumber + "JobCode2=123\r\n");
    result = runCli();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("JobCode2"), std::string::npos) << result.errorText;

    writeSettings(onlyJobNumber + "FreeWord=寿司🍣\r\n", true);
    result = runCli();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("「🍣」"), std::string::npos) << result.errorText;

    // Shortened pauses only against this machine.
    writeSettings(onlyJobNumber, std::string("http://192.0.2.1"));
    result = runCli();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("--pacing-ms"), std::string::npos) << result.errorText;

    EXPECT_EQ(requests, 0);
    EXPECT_FALSE(std::filesystem::exists(csvPath));
}

TEST_F(CliTest, CtrlCEndsATricklingTransferAtOnce)
{
    DemoSiteOptions options;
    options.postingCount = 5;
    options.fault = DemoFault::Trickle;
    options.faultShare = 1.0;
    options.faultTargets = kDemoFaultDetail;
    options.stallLimitMs = 100000;
    std::atomic<bool> interrupted = false;
    std::atomic<std::int64_t> interruptedAt = 0;
    options.requestLog = [&](const std::string& request) {
        if (request.find("dispDetailBtn") != std::string::npos && processId > 0 && !interrupted.exchange(true)) {
            // Well into the transfer, which would otherwise last minutes.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            interruptedAt = std::chrono::steady_clock::now().time_since_epoch().count();
            ::kill(static_cast<pid_t>(processId.load()), SIGINT);
        }
    };
    DemoSite trickling(options);
    ASSERT_TRUE(trickling.start());
    writeSettings(onlyJobNumber, trickling.baseAddress());
    const CliResult result = runCli();
    const auto ended = std::chrono::steady_clock::now();
    EXPECT_EQ(result.exitCode, 2) << result.errorText;
    ASSERT_TRUE(interrupted);
    const auto stopped = ended
        - std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(interruptedAt));
    EXPECT_LT(stopped, std::chrono::seconds(5));
    EXPECT_TRUE(CsvDataLines(csvPath).empty());
}

TEST_F(CliTest, OptionsAloneMakeTheSameRunAsTheSettingsFile)
{
    const DemoPosting& posting = site.postings().at(0);
    const std::string prefecture = PrefectureNames().at(std::stoul(posting.prefectureCode) - 1);
    // Keys and values as the window stores them; JobList ticks 求人番号,
    // 事業所名 and 職種. The site ignores occupation, dispatch, category codes
    // and recency, so the run still finds the posting.
    std::string fields(kOutputFieldCount, '0');
    fields[0] = fields[3] = fields[17] = '1';
    writeSettings("Region1=" + std::to_string(std::stoi(posting.prefectureCode))
                  + "\r\nJobCheck=0\r\n"
                    "JobHaken=1\r\nJobType=5\r\nFreeWord="
                  + posting.occupation
                  + "\r\nWordCheck=1\r\n"
                    "JobCode1=011\r\nJobCode2=02\r\nJobSet2=1\r\nJobList="
                  + fields + "\r\n");
    CliResult result = runCli();
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    const std::vector<std::string> fromSettings = CsvDataLines(csvPath);
    std::filesystem::remove(csvPath);

    result = runCli({"--prefecture",    QString::fromStdString(prefecture),
                     "--kind",          "一般（指定なし）",
                     "--dispatch",      "派遣のみ",
                     "--occupation",    "介護、福祉",
                     "--words",         QString::fromStdString(posting.occupation),
                     "--words-mode",    "and",
                     "--category-code", "011-02",
                     "--recent",        "week",
                     "--fields",        "求人番号,事業所名,職種",
                     "--base-address",  QString::fromStdString(site.baseAddress())},
                    false);
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_EQ(CsvDataLines(csvPath), fromSettings);
    EXPECT_FALSE(fromSettings.empty());

    const std::lock_guard lock(searchBodiesMutex);
    ASSERT_EQ(searchBodies.size(), 2u);
    EXPECT_EQ(searchBodies[0], searchBodies[1]);
    EXPECT_NE(searchBodies[0].find("&hakenUkeoinCKBox=1"), std::string::npos);
    EXPECT_NE(searchBodies[0].find("&sKGYBRUIJo1=011&sKGYBRUIGe1=02"), std::string::npos);

    // An unknown name stops before any request and lists the valid ones.
    const int requestsBefore = requests;
    result = runCli({"--prefecture", "東京府"}, false);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errorText.find("北海道, 青森"), std::string::npos) << result.errorText;
    EXPECT_EQ(requests, requestsBefore);
}

// A site that lists more postings for the same search, as the real one does
// from day to day, and counts the detail pages it is asked for.
struct GrowingSite {
    std::atomic<int> details = 0;
    std::atomic<int> killAtDetail = 0; // SIGKILL the run as this detail page is asked for
    std::atomic<qint64>* processId = nullptr;
    std::unique_ptr<DemoSite> site;

    void start(int postings)
    {
        DemoSiteOptions options{postings, "13010-1234567", [this](const std::string& request) {
                                    if (request.find("dispDetailBtn") == std::string::npos)
                                        return;
                                    if (++details == killAtDetail && processId && *processId > 0)
                                        ::kill(static_cast<pid_t>(processId->load()), SIGKILL);
                                }};
        options.pageSize = 30;
        site = std::make_unique<DemoSite>(options);
        ASSERT_TRUE(site->start());
        details = 0;
    }
};

TEST_F(CliTest, OnlyNewFetchesTheAddedPostingsAndForgetStartsAfresh)
{
    GrowingSite grown;
    grown.start(100);
    writeSettings(onlyJobNumber, grown.site->baseAddress());
    ASSERT_EQ(runCli().exitCode, 0);
    const size_t first = CsvDataLines(csvPath).size();

    // Ten more postings on the site: the repeat run fetches only those that
    // the search lists, and writes them alone.
    grown.start(110);
    writeSettings(onlyJobNumber, grown.site->baseAddress());
    CliResult result = runCli({"--only-new"});
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    const std::vector<std::string> added = CsvDataLines(csvPath);
    const auto hits = grown.site->matching(ParseSearchBody(BuildSearchRequestBody(SearchConditions{})));
    ASSERT_GT(hits.size(), first);
    EXPECT_EQ(added.size(), hits.size() - first);
    EXPECT_EQ(grown.details, static_cast<int>(added.size()));
    EXPECT_NE(result.errorText.find("(既知 " + std::to_string(first) + "件)"), std::string::npos);

    // Nothing new: its own words, the status of nothing found, no detail page.
    grown.details = 0;
    result = runCli({"--only-new"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errorText.find("新しい求人情報は見つかりませんでした。"), std::string::npos);
    EXPECT_EQ(grown.details, 0);

    // Another condition is another search; a forgotten search starts afresh.
    EXPECT_EQ(runCli({"--only-new", "--words", "介護"}).exitCode == 1, false);
    EXPECT_EQ(runCli({"--forget"}).exitCode, 0);
    ASSERT_EQ(runCli({"--only-new"}).exitCode, 0);
    EXPECT_EQ(CsvDataLines(csvPath).size(), hits.size());
}

TEST_F(CliTest, AKilledRunResumedGivesTheUninterruptedFileByteForByte)
{
    GrowingSite grown;
    grown.processId = &processId;
    grown.start(100);
    writeSettings("JobList=" + std::string(kOutputFieldCount, '1') + "\r\n", grown.site->baseAddress());
    const std::filesystem::path whole = dir.filePath("whole.csv").toStdString();
    ASSERT_EQ(runCli({"--history", dir.filePath("other.db")}).exitCode, 0);
    std::filesystem::rename(csvPath, whole);

    grown.details = 0;
    grown.killAtDetail = 40;
    killedOnPurpose = true;
    runCli();
    killedOnPurpose = false;
    const size_t kept = CsvDataLines(csvPath).size();
    EXPECT_GE(kept, 38u);
    EXPECT_LT(kept, 40u);
    grown.killAtDetail = 0;
    grown.details = 0;
    const CliResult result = runCli({"--resume"});
    EXPECT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_EQ(ReadFileBytes(csvPath), ReadFileBytes(whole));
    // Only the posting in flight at the kill is fetched twice.
    EXPECT_LE(grown.details, static_cast<int>(CsvDataLines(whole).size() - kept));

    // Another choice of fields cannot go on in that file.
    writeSettings(onlyJobNumber, grown.site->baseAddress());
    EXPECT_EQ(runCli({"--resume"}).exitCode, 3);
}

TEST_F(CliTest, TheSameRunInEachFormSaysTheSame)
{
    writeSettings("JobList=" + std::string(kOutputFieldCount, '1') + "\r\n");
    ASSERT_EQ(runCli().exitCode, 0);
    const std::string sjis = ReadFileBytes(csvPath);
    const QString utf8Path = dir.filePath("utf8.csv");
    const QString xlsxPath = dir.filePath("out.xlsx");
    ASSERT_EQ(runCli({"--output", utf8Path, "--format", "utf8"}).exitCode, 0);
    // The site's own wave dash, which code page 932 cannot hold, is kept.
    const std::string utf8 = ReadFileBytes(utf8Path.toStdString());
    int kept = 0;
    EXPECT_TRUE(SameButForCodePage932(sjis, utf8, kept));
    EXPECT_GT(kept, 0);
    EXPECT_NE(utf8.find("〜"), std::string::npos);
    // Going on, the file's own form holds: nothing new, nothing changed.
    EXPECT_EQ(runCli({"--output", utf8Path, "--resume"}).exitCode, 1);
    EXPECT_EQ(ReadFileBytes(utf8Path.toStdString()), utf8);

    ASSERT_EQ(runCli({"--output", xlsxPath}).exitCode, 0);
    const WorkbookReading book = ReadWorkbook(xlsxPath.toStdString());
    ASSERT_TRUE(book.opened);
    EXPECT_EQ(book.csv, utf8.substr(3));
    const QString lastRow = QString::number(CsvDataLines(csvPath).size() + 1);
    EXPECT_EQ(book.about.mid(0, 5), QStringList({"求人一覧", "A2", "A1:CP" + lastRow, "True", "s"}));
    EXPECT_EQ(book.about.value(6), "True"); // every link is the address it shows
    EXPECT_GT(book.about.value(5).toInt(), 0);
    EXPECT_FALSE(std::filesystem::exists(JournalPath(xlsxPath.toStdString())));
    EXPECT_EQ(runCli({"--output", utf8Path, "--format", "excel"}).exitCode, 3);
    // The name tells later starts the form: a mismatch is refused.
    EXPECT_EQ(runCli({"--output", utf8Path, "--format", "xlsx"}).exitCode, 3);
    EXPECT_EQ(runCli({"--output", xlsxPath, "--format", "utf8"}).exitCode, 3);
}

TEST_F(CliTest, AKilledWorkbookRunIsMadeAtTheNextStartAndGoesOn)
{
    GrowingSite grown;
    grown.processId = &processId;
    grown.start(100);
    writeSettings("JobList=" + std::string(kOutputFieldCount, '1') + "\r\n", grown.site->baseAddress());
    const QString whole = dir.filePath("whole.csv");
    ASSERT_EQ(runCli({"--history", dir.filePath("other.db"), "--output", whole, "--format", "utf8"}).exitCode, 0);

    const std::filesystem::path workbook = dir.filePath("out.xlsx").toStdString();
    grown.details = 0;
    grown.killAtDetail = 40;
    killedOnPurpose = true;
    runCli({"--output", QString::fromStdString(workbook.string())});
    killedOnPurpose = false;
    EXPECT_FALSE(std::filesystem::exists(workbook));
    ASSERT_TRUE(std::filesystem::exists(JournalPath(workbook)));

    // Any start makes it from the journal: here one that runs nothing.
    EXPECT_EQ(runCli({"--forget", "--words", "介護"}).exitCode, 0);
    WorkbookReading book = ReadWorkbook(workbook);
    ASSERT_TRUE(book.opened);
    const std::string wholeLines = ReadFileBytes(whole.toStdString()).substr(3);
    EXPECT_TRUE(wholeLines.starts_with(book.csv));
    EXPECT_GE(std::count(book.csv.begin(), book.csv.end(), '\n'), 38);

    grown.killAtDetail = 0;
    const CliResult result = runCli({"--output", QString::fromStdString(workbook.string()), "--resume"});
    EXPECT_EQ(result.exitCode, 0) << result.errorText;
    book = ReadWorkbook(workbook);
    EXPECT_EQ(book.csv, wholeLines);
    EXPECT_FALSE(std::filesystem::exists(JournalPath(workbook)));
}

TEST_F(CliTest, ADamagedHistoryIsSetAsideAndTheRunGoesOn)
{
    WriteFileBytes(historyPath, std::string(8192, 'x'));
    writeSettings(onlyJobNumber);
    const CliResult result = runCli({"--only-new"});
    EXPECT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_NE(result.errorText.find("履歴ファイルが壊れているため、履歴を使わずに取得します。"),
              std::string::npos);
    EXPECT_EQ(CsvDataLines(csvPath).size(), listedHits(SearchConditions{}).size());
    EXPECT_EQ(ReadFileBytes(dir.filePath("history.damaged.db").toStdString()), std::string(8192, 'x'));
}
