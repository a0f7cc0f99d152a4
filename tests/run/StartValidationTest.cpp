// The checks Start makes before a run, in their fixed order, and the
// conditions a run then takes.

#include "reference/ReferenceDatabase.h"
#include "support/ReferenceTestSupport.h"
#include "run/StartValidation.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kenmori;

class StartValidationTest : public ::testing::Test {
protected:
    ReferenceDatabase database{BuiltDatabase()};
    SettingsValues values = FirstStartSettings();

    StartCheck runCheck() { return CheckStartConditions(values, database); }

    // The message (UTF-8) and focus of a failed check; "" and Unchanged when it passed.
    std::pair<std::string, StartFocus> failure()
    {
        const StartCheck check = runCheck();
        if (check.passed)
            return {"", StartFocus::Unchanged};
        EXPECT_FALSE(check.message.empty());
        return {ShiftJisToUtf8(check.message), check.focus};
    }
};

TEST_F(StartValidationTest, JobSeekerNumberIsAbsentOrFivePlusSixToEightDigits)
{
    const std::pair<std::string, StartFocus> passed{"", StartFocus::Unchanged};
    const std::string wrong = "求職番号の入力が正しくありません。";
    const std::string digits = "求職番号の入力桁数が正しくありません。";
    const auto with = [&](const char* first, const char* second) {
        values.jobSeekerNumber1 = first;
        values.jobSeekerNumber2 = second;
        return failure();
    };
    EXPECT_EQ(with("", ""), passed);
    EXPECT_EQ(with("12345", "1234567"), passed);
    EXPECT_EQ(with("12345", "123456"), passed);
    EXPECT_EQ(with("12345", "12345678"), passed);
    EXPECT_EQ(with("1234", "1234567"), std::make_pair(digits, StartFocus::JobSeekerNumber1));
    EXPECT_EQ(with("12345", "12345"), std::make_pair(digits, StartFocus::JobSeekerNumber2));
    EXPECT_EQ(with("", "1234567"), std::make_pair(wrong, StartFocus::JobSeekerNumber1));
    EXPECT_EQ(with("12345", ""), std::make_pair(wrong, StartFocus::JobSeekerNumber2));
    // The digit count is checked before the missing second part.
    EXPECT_EQ(with("123", ""), std::make_pair(digits, StartFocus::JobSeekerNumber1));
    const StartCheck failed = runCheck();
    EXPECT_EQ(ShiftJisToUtf8(failed.title), "設定確認");
}

TEST_F(StartValidationTest, MinorCategoryCodeNeedsItsMajorCode)
{
    const std::string wrong = "職業分類コードの入力が正しくありません。";
    values.categoryMajor1 = "011";
    EXPECT_TRUE(runCheck().passed);
    values.categoryMajor1 = "";
    values.categoryMinor1 = "02";
    EXPECT_EQ(failure(), std::make_pair(wrong, StartFocus::CategoryMajor1));
    values.categoryMinor1 = "";
    values.categoryMinor2 = "02";
    EXPECT_EQ(failure(), std::make_pair(wrong, StartFocus::CategoryMajor2));
    values.categoryMajor2 = "1";
    EXPECT_TRUE(runCheck().passed); // lengths are not checked here
}

TEST_F(StartValidationTest, AtLeastOneOutputFieldMustBeTicked)
{
    values.outputFields.fill(false);
    EXPECT_EQ(failure(),
              std::make_pair(std::string("ファイルへの出力項目は１つ以上を指定してください。"),
                             StartFocus::OutputFields));
    values.outputFields[93] = true;
    EXPECT_TRUE(runCheck().passed);
}

TEST_F(StartValidationTest, CityNamesNeedTheFirstPrefectureAndResolveToCodes)
{
    const std::string noPrefecture = "市区町村名に対する都道府県を指定してください。";
    values.cityNames = Utf8ToShiftJis("新宿区");
    values.prefecture2 = 13;
    EXPECT_EQ(failure(), std::make_pair(noPrefecture, StartFocus::Prefecture1));
    values.prefecture1 = 99; // beyond the list: nothing selected
    EXPECT_EQ(failure(), std::make_pair(noPrefecture, StartFocus::Prefecture1));

    values.prefecture1 = 13;
    values.cityNames = Utf8ToShiftJis("  新宿区 渋谷区 ");
    StartCheck check = runCheck();
    ASSERT_TRUE(check.passed);
    EXPECT_EQ(check.cityCodes, "13104%2C13113");

    values.cityNames = Utf8ToShiftJis("どこにもない町");
    check = runCheck();
    EXPECT_FALSE(check.passed);
    EXPECT_EQ(check.focus, StartFocus::CityNames);
    EXPECT_FALSE(check.message.empty());

    // Blanks alone are no city names.
    values.prefecture1 = 0;
    values.cityNames = "   ";
    EXPECT_TRUE(runCheck().passed);
}

TEST_F(StartValidationTest, StartPositionIsThirtyOrMoreRoundedDownToAPage)
{
    const std::string tooSmall = "開始位置の指定は30以上の数値を入力してください。";
    values.startPositionText = "29";
    EXPECT_TRUE(runCheck().passed); // not ticked: not looked at
    EXPECT_EQ(runCheck().startPosition, 0);

    values.useStartPosition = true;
    EXPECT_EQ(failure(), std::make_pair(tooSmall, StartFocus::Unchanged));
    for (const char* text : {"abc", "", "-30", "30x"}) {
        values.startPositionText = text;
        EXPECT_EQ(failure(), std::make_pair(tooSmall, StartFocus::Unchanged)) << text;
    }
    values.startPositionText = " 95 ";
    StartCheck check = runCheck();
    ASSERT_TRUE(check.passed);
    EXPECT_EQ(check.startPosition, 90);
    EXPECT_EQ(check.retryText, "90");
    values.startPositionText = "30";
    EXPECT_EQ(runCheck().startPosition, 30);

    // The earlier checks come first.
    values.startPositionText = "5";
    values.outputFields.fill(false);
    EXPECT_EQ(failure().second, StartFocus::OutputFields);
}

TEST_F(StartValidationTest, RunConditionsFollowWhatTheWindowWouldShow)
{
    values.prefecture1 = 13;
    values.prefecture2 = 49;
    values.prefecture3 = -1;
    values.postingKind = 9;
    values.occupation = 14;
    values.industry = 100;
    values.dispatch = 3;
    values.recentTwoDays = true;
    values.recentWeek = true;
    values.useStartPosition = true;
    values.startPositionText = "61";
    values.freeWords = Utf8ToShiftJis("事務");
    values.outputFields.fill(false);
    values.outputFields[5] = true;
    const StartCheck check = runCheck();
    ASSERT_TRUE(check.passed);
    const SearchConditions conditions = ConditionsForRun(values, check);
    EXPECT_EQ(conditions.prefecture1, 13);
    EXPECT_EQ(conditions.prefecture2, -1);
    EXPECT_EQ(conditions.prefecture3, -1);
    EXPECT_EQ(conditions.postingKind, -1);
    EXPECT_EQ(conditions.occupation, 14);
    EXPECT_EQ(conditions.industry, -1);
    EXPECT_EQ(conditions.dispatch, 3);
    EXPECT_FALSE(conditions.recentTwoDays);
    EXPECT_TRUE(conditions.recentWeek);
    EXPECT_EQ(conditions.startPosition, 60);
    EXPECT_EQ(conditions.freeWords, values.freeWords);
    EXPECT_EQ(conditions.outputFields, values.outputFields);
}
