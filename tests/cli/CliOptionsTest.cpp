// kenmori-cli's condition options: each takes what the window's control
// takes, overrides the settings, and is checked by the window's start checks.

#include "CliOptions.h"

#include "reference/ReferenceDatabase.h"
#include "support/ReferenceTestSupport.h"
#include "run/StartValidation.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <QCommandLineParser>

#include <filesystem>
#include <functional>

using namespace kenmori;

namespace {

using Expectation = std::function<void(const SettingsValues&)>;

struct OptionCase {
    OptionCase(QStringList arguments, std::string error, Expectation expect = {}, std::string startCheck = {})
        : arguments(std::move(arguments))
        , error(std::move(error))
        , expect(std::move(expect))
        , startCheck(std::move(startCheck))
    {
    }
    QStringList arguments;
    // Part of the option error (UTF-8); empty when the options are accepted.
    std::string error;
    Expectation expect;
    // Part of the start checks' message (UTF-8) when the run would not start.
    std::string startCheck;
};

std::string Sjis(const char* utf8)
{
    return Utf8ToShiftJis(utf8);
}

} // namespace

TEST(CliOptionsTest, OptionsOverrideTheSettingsAndFaceTheStartChecks)
{
    ReferenceDatabase database(BuiltDatabase());

    // One case to a row: arguments, the expected error, what the result must hold.
    // clang-format off
    const std::vector<OptionCase> cases{
        {{}, "", [](const SettingsValues& v) { EXPECT_EQ(v.prefecture2, 27); EXPECT_EQ(v.freeWords, "old"); }},
        {{"--prefecture", "東京", "--prefecture", "京都府", "--prefecture", "北海道"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.prefecture1, 13); EXPECT_EQ(v.prefecture2, 26); EXPECT_EQ(v.prefecture3, 1); }},
        {{"--prefecture", "東京都"}, "", [](const SettingsValues& v) {
             EXPECT_EQ(v.prefecture1, 13); EXPECT_EQ(v.prefecture2, 0); EXPECT_EQ(v.prefecture3, 0); }},
        {{"--prefecture", "海外", "--prefecture", "大阪府", "--prefecture", "青森県"}, "", [](const SettingsValues& v) {
             EXPECT_EQ(v.prefecture1, 48); EXPECT_EQ(v.prefecture2, 27); EXPECT_EQ(v.prefecture3, 2); }},
        {{"--prefecture", "東京府"}, "Valid names: 北海道, 青森"},
        {{"--prefecture", "東京", "--prefecture", "大阪", "--prefecture", "沖縄", "--prefecture", "福岡"},
         "at most three"},
        {{"--prefecture", "東京", "--city", "新宿区　渋谷区"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.cityNames, Sjis("新宿区　渋谷区")); }},
        {{"--prefecture", "東京", "--city", "どこにもない町"}, "", {}, "の市区町村名は指定できません。"},
        {{"--prefecture", "", "--city", "新宿区"}, "unknown prefecture"},
        {{"--city", "新宿区"}, "", {}, "市区町村名に対する都道府県を指定してください。"},
        {{"--kind", "障害（パート）", "--dispatch", "請負のみ", "--occupation", "介護、福祉"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.postingKind, 8); EXPECT_EQ(v.dispatch, 2); EXPECT_EQ(v.occupation, 5); }},
        {{"--kind", "パート"}, "Valid choices: 一般（指定なし）, 一般（フルタイム）"},
        {{"--kind", "一般（指定なし）", "--dispatch", "派遣のみ", "--occupation", "事務、管理職"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.postingKind, 0); EXPECT_EQ(v.dispatch, 1); EXPECT_EQ(v.occupation, 1); }},
        {{"--city", QString(51, QChar(0x533A))}, "--city: longer than 100 bytes in Shift-JIS"},
        {{"--occupation", "営業職"}, "Valid choices: 事務、管理職, 営業, 販売"},
        {{"--industry", "39"}, "", [](const SettingsValues& v) { EXPECT_EQ(v.industry, 39); }},
        {{"--industry", "情報サービス業"}, "", [](const SettingsValues& v) { EXPECT_EQ(v.industry, 39); }},
        {{"--industry", "01 : 農業"}, "", [](const SettingsValues& v) { EXPECT_EQ(v.industry, 1); }},
        {{"--industry", "100"}, "01 農業, 02 林業"},
        {{"--words", "東京 営業", "--words-mode", "NOT"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.freeWords, Sjis("東京 営業")); EXPECT_EQ(v.wordsMode, 2); }},
        {{"--words-mode", "xor"}, "Valid choices: or, and, not"},
        {{"--words", QString(51, QChar(0x6771))}, "longer than 100 bytes"},
        {{"--words", "寿司😀"}, "holds \"😀\", which Shift-JIS cannot write"},
        {{"--words", "9〜18時"}, "", [](const SettingsValues& v) { EXPECT_EQ(v.freeWords, Sjis("9～18時")); }},
        {{"--category-code", "011-02", "--category-code", "5"}, "", [](const SettingsValues& v) {
             EXPECT_EQ(v.categoryMajor1, "011"); EXPECT_EQ(v.categoryMinor1, "02");
             EXPECT_EQ(v.categoryMajor2, "5"); EXPECT_EQ(v.categoryMinor2, ""); }},
        {{"--category-code", "0111"}, "MAJOR[-MINOR]"},
        {{"--category-code", "1", "--category-code", "2", "--category-code", "3"}, "at most two"},
        // The whole message; a value is never read as a place for another.
        {{"--category-code", "01-123"}, "--category-code: \"01-123\" is not MAJOR[-MINOR] (up to 3 and 2 digits)"},
        {{"--category-code", "%2%3"}, "\"%2%3\" is not MAJOR[-MINOR] (up to 3 and 2 digits)"},
        {{"--job-seeker", "13010-1234567"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.jobSeekerNumber1, "13010"); EXPECT_EQ(v.jobSeekerNumber2, "1234567"); }},
        {{"--job-seeker", "1301-1234567"}, "", {}, "求職番号の入力桁数が正しくありません。"},
        {{"--job-seeker", "1301012345"}, "NNNNN-NNNNNNNN"},
        {{"--job-seeker", "123456-1234567"}, "--job-seeker: \"123456-1234567\" is not NNNNN-NNNNNNNN"},
        {{"--job-seeker", "12345-123456789"}, "is not NNNNN-NNNNNNNN"},
        {{"--recent", "today"}, "", [](const SettingsValues& v) { EXPECT_TRUE(v.recentTwoDays); EXPECT_FALSE(v.recentWeek); }},
        {{"--recent", "week", "--named-only"}, "", [](const SettingsValues& v) {
             EXPECT_FALSE(v.recentTwoDays); EXPECT_TRUE(v.recentWeek); EXPECT_TRUE(v.namedOnly); }},
        {{"--recent", "month"}, "Valid choices: today, week"},
        {{"--start", "95"}, "", [](const SettingsValues& v) { EXPECT_TRUE(v.useStartPosition); EXPECT_EQ(v.startPositionText, "95"); }},
        {{"--start", "29"}, "", {}, "開始位置の指定は30以上の数値を入力してください。"},
        {{"--start", "-30"}, "up to 7 digits"},
        {{"--start", "12345678"}, "--start: \"12345678\" is not a number of up to 7 digits"},
        {{"--start", "%2"}, "--start: \"%2\" is not a number of up to 7 digits"},
        {{"--fields", "求人番号,事業所名"}, "", [](const SettingsValues& v) {
             EXPECT_EQ(std::count(v.outputFields.begin(), v.outputFields.end(), true), 2);
             EXPECT_TRUE(v.outputFields[0]); EXPECT_TRUE(v.outputFields[3]); }},
        {{"--fields", "all"}, "", [](const SettingsValues& v) {
             EXPECT_EQ(std::count(v.outputFields.begin(), v.outputFields.end(), true), kOutputFieldCount); }},
        {{"--fields", "求人番号,給料"}, "Valid fields: all, or any of 求人番号"},
        {{"--base-address", "http://127.0.0.1:8080/"}, "",
         [](const SettingsValues& v) { EXPECT_EQ(v.baseAddress, "http://127.0.0.1:8080"); }},
        {{"--base-address", "ftp://example.jp"}, "is not a scheme and host"},
        {{"--base-address", "https://example.jp/kensaku?x=1"}, "is not a scheme and host"},
    };
    // clang-format on

    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QCommandLineParser parser;
        AddConditionOptions(parser);
        ASSERT_TRUE(parser.parse(QStringList{"kenmori-cli"} + c.arguments)) << parser.errorText().toStdString();

        SettingsValues values = FirstStartSettings(); // as if read from a settings file
        values.prefecture2 = 27;
        values.freeWords = "old";
        values.outputFields[5] = false;
        const std::string error = ApplyConditionOptions(parser, values);
        if (!c.error.empty()) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            continue;
        }
        ASSERT_EQ(error, "");
        if (c.expect)
            c.expect(values);
        const StartCheck check = CheckStartConditions(values, database);
        if (c.startCheck.empty())
            EXPECT_TRUE(check.passed) << ShiftJisToUtf8(check.message);
        else
            EXPECT_NE(ShiftJisToUtf8(check.message).find(c.startCheck), std::string::npos)
                << ShiftJisToUtf8(check.message);
    }
}
