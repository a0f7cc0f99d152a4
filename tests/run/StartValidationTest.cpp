// The checks Start makes before a run, in their fixed order, and the
// conditions a run then takes.

#include "reference/ReferenceDatabase.h"
#include "support/ReferenceTestSupport.h"
#include "run/StartValidation.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        values.JobNo1 = first;
        values.JobNo2 = second;
        return failure();
    };
    EXPECT_EQ(with("", ""), passed);
    EXPECT_EQ(with("12345", "1234567"), passed);
    EXPECT_EQ(with("12345", "123456"), passed);
    EXPECT_EQ(with("12345", "12345678"), passed);
    EXPECT_EQ(with("1234", "1234567"), std::make_pair(digits, StartFocus::editJobNo1));
    EXPECT_EQ(with("12345", "12345"), std::make_pair(digits, StartFocus::editJobNo2));
    EXPECT_EQ(with("", "1234567"), std::make_pair(wrong, StartFocus::editJobNo1));
    EXPECT_EQ(with("12345", ""), std::make_pair(wrong, StartFocus::editJobNo2));
    // The digit count is checked before the missing second part.
    EXPECT_EQ(with("123", ""), std::make_pair(digits, StartFocus::editJobNo1));
    const StartCheck failed = runCheck();
    EXPECT_EQ(ShiftJisToUtf8(failed.title), "設定確認");
}

TEST_F(StartValidationTest, MinorCategoryCodeNeedsItsMajorCode)
{
    const std::string wrong = "職業分類コードの入力が正しくありません。";
    values.JobCode1 = "011";
    EXPECT_TRUE(runCheck().passed);
    values.JobCode1 = "";
    values.JobCode2 = "02";
    EXPECT_EQ(failure(), std::make_pair(wrong, StartFocus::editJobCode1));
    values.JobCode2 = "";
    values.JobCode4 = "02";
    EXPECT_EQ(failure(), std::make_pair(wrong, StartFocus::editJobCode3));
    values.JobCode3 = "1";
    EXPECT_TRUE(runCheck().passed); // lengths are not checked here
}

TEST_F(StartValidationTest, AtLeastOneOutputFieldMustBeTicked)
{
    values.JobList.fill(false);
    EXPECT_EQ(
        failure(),
        std::make_pair(std::string("ファイルへの出力項目は１つ以上を指定してください。"), StartFocus::clstOutput));
    values.JobList[93] = true;
    EXPECT_TRUE(runCheck().passed);
}

TEST_F(StartValidationTest, CityNamesNeedTheFirstPrefectureAndResolveToCodes)
{
    const std::string noPrefecture = "市区町村名に対する都道府県を指定してください。";
    values.CityWord = Utf8ToShiftJis("新宿区");
    values.Region2 = 13;
    EXPECT_EQ(failure(), std::make_pair(noPrefecture, StartFocus::cmbRegion1));
    values.Region1 = 99; // beyond the list: nothing selected
    EXPECT_EQ(failure(), std::make_pair(noPrefecture, StartFocus::cmbRegion1));

    values.Region1 = 13;
    values.CityWord = Utf8ToShiftJis("  新宿区 渋谷区 ");
    StartCheck check = runCheck();
    ASSERT_TRUE(check.passed);
    EXPECT_EQ(check.cityCodes, "13104%2C13113");

    values.CityWord = Utf8ToShiftJis("どこにもない町");
    check = runCheck();
    EXPECT_FALSE(check.passed);
    EXPECT_EQ(check.focus, StartFocus::editCity);
    EXPECT_FALSE(check.message.empty());

    // Blanks alone are no city names.
    values.Region1 = 0;
    values.CityWord = "   ";
    EXPECT_TRUE(runCheck().passed);
}

TEST_F(StartValidationTest, StartPositionIsThirtyOrMoreRoundedDownToAPage)
{
    const std::string tooSmall = "開始位置の指定は30以上の数値を入力してください。";
    values.Retry = "29";
    EXPECT_TRUE(runCheck().passed); // not ticked: not looked at
    EXPECT_EQ(runCheck().Retry, 0);

    values.RetryCheck = true;
    EXPECT_EQ(failure(), std::make_pair(tooSmall, StartFocus::Unchanged));
    for (const char* text : {"abc", "", "-30", "30x"}) {
        values.Retry = text;
        EXPECT_EQ(failure(), std::make_pair(tooSmall, StartFocus::Unchanged)) << text;
    }
    values.Retry = " 95 ";
    StartCheck check = runCheck();
    ASSERT_TRUE(check.passed);
    EXPECT_EQ(check.Retry, 90);
    EXPECT_EQ(check.retryText, "90");
    values.Retry = "30";
    EXPECT_EQ(runCheck().Retry, 30);

    // The earlier checks come first.
    values.Retry = "5";
    values.JobList.fill(false);
    EXPECT_EQ(failure().second, StartFocus::clstOutput);
}

TEST_F(StartValidationTest, RunConditionsFollowWhatTheWindowWouldShow)
{
    values.Region1 = 13;
    values.Region2 = 49;
    values.Region3 = -1;
    values.JobCheck = 9;
    values.JobType = 14;
    values.JobIndustry = 100;
    values.JobHaken = 3;
    values.JobSet1 = true;
    values.JobSet2 = true;
    values.RetryCheck = true;
    values.Retry = "61";
    values.FreeWord = Utf8ToShiftJis("事務");
    values.JobList.fill(false);
    values.JobList[5] = true;
    const StartCheck check = runCheck();
    ASSERT_TRUE(check.passed);
    const SearchConditions conditions = ConditionsForRun(values, check);
    EXPECT_EQ(conditions.Region1, 13);
    EXPECT_EQ(conditions.Region2, -1);
    EXPECT_EQ(conditions.Region3, -1);
    EXPECT_EQ(conditions.JobCheck, -1);
    EXPECT_EQ(conditions.JobType, 14);
    EXPECT_EQ(conditions.JobIndustry, -1);
    EXPECT_EQ(conditions.JobHaken, 3);
    EXPECT_FALSE(conditions.JobSet1);
    EXPECT_TRUE(conditions.JobSet2);
    EXPECT_EQ(conditions.Retry, 60);
    EXPECT_EQ(conditions.FreeWord, values.FreeWord);
    EXPECT_EQ(conditions.JobList, values.JobList);
}
