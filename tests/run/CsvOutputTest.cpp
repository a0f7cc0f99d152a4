#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "run/CsvOutput.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string S(std::string_view utf8)
{
    return Utf8ToShiftJis(utf8);
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

OutputFieldChecks Ticks(std::initializer_list<int> ticked)
{
    OutputFieldChecks checks{};
    for (int slot : ticked)
        checks[slot] = true;
    return checks;
}

class CsvOutputTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::filesystem::path path() const { return dir.filePath("out.csv").toStdString(); }
};

TEST(CsvValue, SpacesReferencesAndTrim)
{
    EXPECT_EQ(NormalizeCsvValue("      "), "");
    EXPECT_EQ(NormalizeCsvValue("a" + std::string(34, ' ') + "b"), "a b");
    EXPECT_EQ(NormalizeCsvValue("a" + std::string(35, ' ') + "b"), "a  b");
    EXPECT_EQ(NormalizeCsvValue(S("月給　２０万円")), S("月給 ２０万円"));
    EXPECT_EQ(NormalizeCsvValue("a&#x28;b&#XA0;c&amp;d"), "a b c&d");
    EXPECT_EQ(NormalizeCsvValue("\t x \r"), "x");
}

// A value as the replacements made it one step after the other: what the
// one-pass form must give.
std::string StepByStepValue(std::string_view value)
{
    static const std::pair<std::string_view, std::string_view> kBlanks[] = {
        {"\x81\x40", " "}, {"&#x28;", " "}, {"&#xa0;", " "}};
    std::string text(value);
    for (const auto& [from, to] : kBlanks)
        text = ReplaceAllText(text, from, to);
    text = DecodeCharacterReferences(text);
    for (const std::string_view run : {"    ", "   ", "  ", "  "})
        text = ReplaceAllText(text, run, " ");
    return TrimText(text);
}

TEST(CsvValue, OnePassGivesWhatTheStepByStepReplacementsGave)
{
    // Pieces that meet at their edges: trail bytes that look like spaces or
    // quotes, references cut short or in capitals, lone lead bytes.
    const std::vector<std::string> pieces = {
        " ",        "  ",     "    ",  "\x81\x40", "\x81",  "\x40",   "\xe0",  "\x82\x50", "&#x28;",
        "&#X28;",   "&#xA0;", "&#xa0", "&#x2",     "&amp;", "&nbsp;", "&#32;", "&#x20;",   "&#10;",
        "&#x3042;", "&",      "#",     ";",        "x",     "\"",     "a",     "\t",       "\r\n"};
    std::mt19937 random(14);
    JobRecord record;
    const OutputFieldChecks first = Ticks({0});
    for (int round = 0; round < 20000; ++round) {
        std::string value;
        for (unsigned count = random() % 14; count > 0; --count)
            value += pieces[random() % pieces.size()];
        record[0] = value;
        const std::string expected = StepByStepValue(value);
        ASSERT_EQ(NormalizeCsvValue(value), expected) << value;
        ASSERT_EQ(CsvDataLine(record, first), "\"" + ReplaceAllText(expected, "\"", "\"\"") + "\"") << value;
    }
}

TEST(CsvLine, HeaderAndDataFollowTheTickedFields)
{
    const auto all = [] {
        OutputFieldChecks c;
        c.fill(true);
        return c;
    }();
    const std::string header = CsvHeaderLine(all);
    EXPECT_EQ(header.rfind(S("\"求人番号\",\"求人区分\","), 0), 0u);
    const std::string tail = S(",\"求人票PDFURL\",\"ページURL\"");
    EXPECT_EQ(header.substr(header.size() - tail.size()), tail);
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 93);

    JobRecord record;
    record[0] = "13010-12345678";
    record[3] = S("株式会社 \"山田\" 商店, 本社");
    record[93] = "https://example/detail?a=1&b=2";
    EXPECT_EQ(CsvHeaderLine(Ticks({93})), S("\"ページURL\""));
    EXPECT_EQ(CsvDataLine(record, Ticks({93})), "\"https://example/detail?a=1&b=2\"");
    // Inner quotes are doubled; commas stay inside the quotes.
    EXPECT_EQ(CsvDataLine(record, Ticks({0, 1, 3})),
              "\"13010-12345678\",\"\"," + S("\"株式会社 \"\"山田\"\" 商店, 本社\""));
}

TEST_F(CsvOutputTest, FileHasCrLfLinesAndNoByteOrderMark)
{
    SearchConditions conditions;
    conditions.outputFields = Ticks({0, 3});
    RunState state;
    CsvOutputFile file;
    ASSERT_TRUE(WriteCsvHeader(file, path(), conditions.outputFields));

    JobRecord record;
    record[0] = "1";
    record[3] = S("会社");
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::Written);
    EXPECT_EQ(state.workerVerdict, kVerdictLineWritten);
    EXPECT_TRUE(file.close());

    EXPECT_EQ(ReadAll(path()), S("\"求人番号\",\"事業所名\"\r\n\"1\",\"会社\"\r\n"));
}

TEST_F(CsvOutputTest, FilterAndMissingJobNumberWriteNothing)
{
    SearchConditions conditions;
    conditions.outputFields = Ticks({0});
    conditions.namedOnly = true;
    RunState state;
    CsvOutputFile file;
    ASSERT_TRUE(WriteCsvHeader(file, path(), conditions.outputFields));

    JobRecord record;
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::NoJobNumber);
    record[0] = S("（削除済み）");
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::FilteredOut);
    record[3] = S("（事業所名非公開）");
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::FilteredOut);
    EXPECT_EQ(state.workerVerdict, kVerdictNothingWritten);

    conditions.namedOnly = false;
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::Written);
    EXPECT_EQ(state.workerVerdict, kVerdictLineWritten);
    file.close();
    EXPECT_EQ(ReadAll(path()), S("\"求人番号\"\r\n\"（削除済み）\"\r\n"));
}

TEST_F(CsvOutputTest, UncreatableFileIsReportedNotCrashed)
{
    CsvOutputFile file;
    const auto missingFolder = std::filesystem::path(dir.path().toStdString()) / "no" / "out.csv";
    EXPECT_FALSE(WriteCsvHeader(file, missingFolder, Ticks({0})));
    EXPECT_FALSE(file.isOpen());

    SearchConditions conditions;
    conditions.outputFields = Ticks({0});
    RunState state;
    JobRecord record;
    record[0] = "1";
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::WriteFailed);
    EXPECT_EQ(state.workerVerdict, kVerdictNothingWritten);
    EXPECT_FALSE(file.close());
}

TEST(CsvOutputFile, FullDiskIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    CsvOutputFile file;
    ASSERT_TRUE(file.open("/dev/full"));
    EXPECT_FALSE(file.writeLine("x"));
    EXPECT_TRUE(file.hasFailed());
}

} // namespace
