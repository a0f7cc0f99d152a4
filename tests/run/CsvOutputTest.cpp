#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "run/CsvOutput.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

using namespace kenmori;

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

// Readers of the file key on its header: every name, in order, byte for byte.
TEST(CsvLine, HeaderOfEveryFieldIsFixed)
{
    OutputFieldChecks all;
    all.fill(true);
    // clang-format off
    const std::string expected = S(
        "\"求人番号\",\"求人区分\",\"事業所番号\",\"事業所名\","
        "\"事業所名カナ\",\"役職／代表者名\",\"法人番号\",\"郵便番号\","
        "\"住所\",\"電話番号\",\"FAX番号\",\"ホームページ\","
        "\"設立年\",\"資本金\",\"労働組合\",\"事業内容\","
        "\"会社の特長\",\"職種\",\"雇用形態\",\"派遣・請負等\","
        "\"雇用期間\",\"年齢\",\"年齢制限の理由\",\"就業時間\","
        "\"休憩時間\",\"時間外労働時間\",\"月平均（週所定）労働日数\",\"基本給\","
        "\"定額的に支払われる手当\",\"固定残業代\",\"その他の手当等\",\"合計賃金\","
        "\"賃金形態等\",\"賃金締切日\",\"賃金支払日\",\"昇給\","
        "\"賞与\",\"休日等\",\"週休二日\",\"年間休日数\","
        "\"就業規則\",\"育児休業取得実績\",\"介護休業取得実績\",\"看護休暇取得実績\","
        "\"外国人雇用実績\",\"UIJターン歓迎\",\"利用可能託児施設\",\"就業場所\","
        "\"最寄り駅\",\"転勤の可能性\",\"従業員数\",\"加入保険等\","
        "\"企業年金\",\"退職金共済\",\"退職金制度\",\"定年制\","
        "\"再雇用制度\",\"勤務延長\",\"入居可能住宅\",\"マイカー通勤\","
        "\"通勤手当\",\"採用人数\",\"仕事内容\",\"学歴\","
        "\"必要な経験等\",\"必要な免許・資格\",\"トライアル雇用併用の希望\",\"試用期間\","
        "\"事業所からのメッセージ\",\"職務給制度\",\"復職制度\",\"研修制度\","
        "\"その他特記・補足事項\",\"産業大分類名\",\"産業中分類名\",\"産業小分類名\","
        "\"オンライン自主応募の受付\",\"選考方法\",\"選考結果通知\",\"求職者への通知方法\","
        "\"応募書類等\",\"応募書類の返戻\",\"選考日時等\",\"選考場所\","
        "\"既卒者・中退者の応募可否\",\"既卒者等の入社日\",\"担当者\",\"担当者メールアドレス\","
        "\"求人に関する特記事項\",\"受付年月日\",\"紹介期限日\",\"受理安定所\","
        "\"求人票PDFURL\",\"ページURL\"");
    // clang-format on
    EXPECT_EQ(CsvHeaderLine(all), expected);
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
    EXPECT_EQ(state.verdict, kVerdictLineWritten);
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
    EXPECT_EQ(state.verdict, kVerdictNothingWritten);

    conditions.namedOnly = false;
    EXPECT_EQ(WriteJobLine(file, record, conditions, state), JobLineOutcome::Written);
    EXPECT_EQ(state.verdict, kVerdictLineWritten);
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
    EXPECT_EQ(state.verdict, kVerdictNothingWritten);
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
