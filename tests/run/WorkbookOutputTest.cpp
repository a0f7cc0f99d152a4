// The workbook made from its journal, read back as a spreadsheet program
// reads it, and what tells a workbook that a kill left behind.

#include "run/CsvOutput.h"
#include "run/OutputFormat.h"
#include "run/WorkbookOutput.h"
#include "support/OutputFormsTestSupport.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>

using namespace kenmori;

namespace {

constexpr auto kMade = std::chrono::sys_days{std::chrono::year{2026} / 1 / 2};

std::string Quoted(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : ",") + CsvQuoted(field);
    return line;
}

} // namespace

TEST(WorkbookOutput, EveryCellIsTheJournalsTextAndAddressesAreLinks)
{
    QTemporaryDir dir;
    const std::filesystem::path workbook = dir.filePath("list.xlsx").toStdString();
    OutputFieldChecks fields{};
    for (const int slot : {0, 6, 92, 93})
        fields[static_cast<size_t>(slot)] = true;
    CsvOutputFile journal(TextEncoding::Utf8, "\"東京 看護師\"");
    ASSERT_TRUE(WriteCsvHeader(journal, JournalPath(workbook), fields));
    const std::vector<std::vector<std::string>> rows{
        {"13010-1", "2430001002561", "https://example.test/sheet?a=1&b=2", "http://127.0.0.1:1/detail?kJNo=1"},
        {"13010-2", "0012", "2026-01-02 _x0041_", "=SUM(A1:A2)"},
        {"13010-3", "𠮷野家 \"😀\"", "", std::string(40000, 'x')},
    };
    for (const auto& row : rows)
        ASSERT_TRUE(journal.writeLine(Quoted(row)));
    journal.close();
    std::ofstream(JournalPath(workbook), std::ios::app | std::ios::binary) << "\"13010-4\",\"cut off"; // a kill
    ASSERT_TRUE(WriteWorkbookFromJournal(JournalPath(workbook), workbook, kMade));

    const WorkbookReading book = ReadWorkbook(workbook);
    ASSERT_TRUE(book.opened);
    EXPECT_EQ(book.about,
              QStringList({"東京 看護師", "A2", "A1:D4", "True", "s", "2", "True", "求人情報 東京 看護師", "1"}));
    std::string expected = CsvHeaderLine(fields, TextEncoding::Utf8) + "\r\n";
    for (auto row : rows) {
        row[3].resize(std::min<size_t>(row[3].size(), 32767)); // what a cell holds
        expected += Quoted(row) + "\r\n";
    }
    EXPECT_EQ(book.csv, expected);
    EXPECT_EQ(JournalStateOf(workbook), JournalState::WorkbookCurrent);

    // Not a journal of this program: no workbook, an earlier one kept.
    const std::filesystem::path other = dir.filePath("other.xlsx").toStdString();
    WriteFileBytes(JournalPath(other), "");
    WriteFileBytes(other, "earlier");
    EXPECT_FALSE(WriteWorkbookFromJournal(JournalPath(other), other, kMade));
    EXPECT_EQ(ReadFileBytes(other), "earlier");
}

TEST(WorkbookOutput, TheJournalTellsWhetherTheWorkbookIsBehindOrWasEdited)
{
    QTemporaryDir dir;
    const std::filesystem::path workbook = dir.filePath("list.xlsx").toStdString();
    SearchConditions conditions;
    conditions.outputFields[0] = true;
    EXPECT_EQ(CheckGoingOn(workbook, OutputFormat::Workbook, conditions), GoingOn::Possible); // nothing yet

    CsvOutputFile journal(TextEncoding::Utf8, JournalPreamble(conditions));
    ASSERT_TRUE(WriteCsvHeader(journal, JournalPath(workbook), conditions.outputFields));
    journal.close();
    EXPECT_EQ(JournalStateOf(workbook), JournalState::WorkbookBehind); // killed before any end
    {
        // While a run writes the journal, a start leaves the workbook to it.
        const auto running = LockJournal(workbook);
        ASSERT_TRUE(running);
        ASSERT_TRUE(CatchUpWorkbook(workbook, kMade));
        EXPECT_FALSE(std::filesystem::exists(workbook));
    }
    ASSERT_TRUE(CatchUpWorkbook(workbook, kMade));
    EXPECT_EQ(JournalStateOf(workbook), JournalState::WorkbookCurrent);
    EXPECT_EQ(CheckGoingOn(workbook, OutputFormat::Workbook, conditions), GoingOn::Possible);

    // Rows added since: behind, and made again at the next start.
    ASSERT_TRUE(journal.openToAppend(JournalPath(workbook)) && journal.writeLine("\"13010-1\""));
    journal.close();
    const auto later = std::filesystem::last_write_time(workbook) + std::chrono::seconds(5);
    std::filesystem::last_write_time(JournalPath(workbook), later);
    EXPECT_EQ(JournalStateOf(workbook), JournalState::WorkbookBehind);
    ASSERT_TRUE(CatchUpWorkbook(workbook, kMade));
    EXPECT_EQ(ReadWorkbook(workbook).csv, "\"求人番号\"\r\n\"13010-1\"\r\n");

    // Saved by another program since: neither made again nor gone on.
    std::filesystem::last_write_time(workbook, later + std::chrono::seconds(5));
    EXPECT_EQ(JournalStateOf(workbook), JournalState::WorkbookEdited);
    EXPECT_EQ(CheckGoingOn(workbook, OutputFormat::Workbook, conditions), GoingOn::WorkbookEdited);
    const std::string edited = ReadFileBytes(workbook);
    ASSERT_TRUE(CatchUpWorkbook(workbook, kMade));
    EXPECT_EQ(ReadFileBytes(workbook), edited);
    // Without its journal, the rows so far would be lost.
    std::filesystem::remove(JournalPath(workbook));
    EXPECT_EQ(CheckGoingOn(workbook, OutputFormat::Workbook, conditions), GoingOn::JournalMissing);
    conditions.outputFields[1] = true;
    EXPECT_EQ(CheckGoingOn(dir.filePath("list.csv").toStdString(), OutputFormat::Utf8Csv, conditions),
              GoingOn::Possible);
}

TEST(WorkbookOutput, SheetNamesHoldWhatASheetNameMay)
{
    SearchConditions conditions;
    EXPECT_EQ(WorkbookSheetName(conditions), "求人一覧");
    conditions.freeWords = Utf8ToShiftJis("'看護師[夜勤]/*:?\\ 准看護師 訪問看護 病棟 外来 クリニック 介護施設'");
    const QString name = QString::fromStdString(WorkbookSheetName(conditions));
    EXPECT_TRUE(name.startsWith(QStringLiteral("看護師 夜勤 准看護師"))) << name.toStdString();
    EXPECT_LE(name.toUcs4().size(), 31);
    EXPECT_FALSE(name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('\'')));
    EXPECT_EQ(OutputFormatForPath("a.XLSX"), OutputFormat::Workbook);
    EXPECT_EQ(OutputFormatForPath("a.xlsx.csv"), OutputFormat::ShiftJisCsv);
    EXPECT_EQ(OutputFormatNamed("utf8"), OutputFormat::Utf8Csv);
    EXPECT_FALSE(OutputFormatNamed("UTF-8").has_value());
}
