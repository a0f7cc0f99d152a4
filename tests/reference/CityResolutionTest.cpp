// City names typed by the user, turned into the site's city codes.

#include "reference/CityResolution.h"
#include "reference/ReferenceDatabase.h"
#include "support/ReferenceTestSupport.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <string>

using namespace kenmori;

// Resolves UTF-8 text (the tests are easier to read that way).
static CityResolutionResult Resolve(ReferenceDatabase& db, const char* utf8, int region1)
{
    return ResolveCityCodes(db, Utf8ToShiftJis(utf8), region1);
}

static std::string Sjis(const char* utf8)
{
    return Utf8ToShiftJis(utf8);
}

TEST(CityResolution, BlanksOfBothWidthsSeparateNamesAndRepeatsCountOnce)
{
    ReferenceDatabase db(BuiltDatabase());
    for (const char* text : {"新宿区 渋谷区", "新宿区　渋谷区", "新宿区  渋谷区", "　新宿区　 　渋谷区　",
                             "新宿区 渋谷区 新宿区 新宿区"}) {
        const CityResolutionResult result = Resolve(db, text, 13);
        EXPECT_EQ(result.code, CityResolutionCode::Resolved) << text;
        EXPECT_EQ(result.cityCodes, "13104%2C13113") << text;
        EXPECT_TRUE(result.message.empty()) << text;
    }
    EXPECT_EQ(Resolve(db, "千代田区 中央区", 13).cityCodes, "13101%2C13102");
    // Prefecture codes below 10 keep their leading zero.
    EXPECT_EQ(Resolve(db, "中央区", 1).cityCodes, "01101");
}

TEST(CityResolution, NoNamesOrTooManyNamesNeverTouchTheDatabase)
{
    ReferenceDatabase missing("/nonexistent/db/km_data.db");
    for (const char* text : {"", "　", "　　 　"}) {
        const CityResolutionResult result = Resolve(missing, text, 13);
        EXPECT_EQ(result.code, CityResolutionCode::Resolved) << text;
        EXPECT_TRUE(result.cityCodes.empty());
        EXPECT_TRUE(result.message.empty());
    }

    const CityResolutionResult six = Resolve(missing, "千代田区 中央区 港区 新宿区 文京区 台東区", 13);
    EXPECT_EQ(six.code, CityResolutionCode::TooManyNames);
    EXPECT_EQ(static_cast<int>(six.code), 2);
    EXPECT_EQ(six.message, Sjis("指定できる市区町村名は最大5箇所までとなっています。"));
    EXPECT_EQ(six.title, Sjis("設定確認"));
    EXPECT_TRUE(six.cityCodes.empty());

    // Six names of which two are equal are five names, all looked up.
    ReferenceDatabase db(BuiltDatabase());
    const CityResolutionResult five = Resolve(db, "千代田区 中央区 港区 新宿区 港区 文京区", 13);
    EXPECT_EQ(five.code, CityResolutionCode::Resolved);
    EXPECT_EQ(five.cityCodes, "13101%2C13102%2C13103%2C13104%2C13105");
}

TEST(CityResolution, UnmatchedNamesAreListedInOneMessageInTheirOrder)
{
    ReferenceDatabase db(BuiltDatabase());
    const CityResolutionResult result = Resolve(db, "甲 千代田区 乙", 13);
    EXPECT_EQ(result.code, CityResolutionCode::UnmatchedNames);
    EXPECT_EQ(static_cast<int>(result.code), 3);
    EXPECT_EQ(result.message,
              Sjis("'甲'、'乙'の市区町村名は指定できません。\r\n"
                   "別の市区町村名を指定してください。"));
    EXPECT_EQ(result.title, Sjis("設定確認"));
    EXPECT_EQ(result.cityCodes, "13101");

    // A name of another prefecture is no match.
    EXPECT_EQ(Resolve(db, "横浜市", 13).code, CityResolutionCode::UnmatchedNames);
    EXPECT_EQ(Resolve(db, "千代田区", 0).code, CityResolutionCode::UnmatchedNames);

    // Apostrophes are part of the name, never SQL.
    const CityResolutionResult quoted = Resolve(db, "x'OR'1'='1 千代田区'", 13);
    EXPECT_EQ(quoted.code, CityResolutionCode::UnmatchedNames);
    EXPECT_EQ(quoted.message,
              Sjis("'x'OR'1'='1'、'千代田区''の市区町村名は指定できません。\r\n"
                   "別の市区町村名を指定してください。"));
    EXPECT_TRUE(quoted.cityCodes.empty());
}

TEST(CityResolution, ShortWardNamesResolveWhereTheyAreUnambiguous)
{
    ReferenceDatabase db(BuiltDatabase());
    EXPECT_EQ(Resolve(db, "鶴見区", 14).cityCodes, "14101");
    EXPECT_EQ(Resolve(db, "横浜市鶴見区 横浜市", 14).cityCodes, "14101%2C14100");
    EXPECT_EQ(Resolve(db, "鶴見区", 27).cityCodes, "27124");
    EXPECT_EQ(Resolve(db, "大阪市北区 堺市北区", 27).cityCodes, "27127%2C27146");
    EXPECT_EQ(Resolve(db, "北区", 27).code, CityResolutionCode::UnmatchedNames);
    EXPECT_EQ(Resolve(db, "中央区", 22).cityCodes, "22138");
}

TEST(CityResolution, NameWithApostropheIsFoundAsTyped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ReferenceDatabase db(MakeDatabase(dir,
                                      {"CREATE TABLE T02_CITY AS SELECT 5 AS AreaID,"
                                       " '001' AS CityID, 'O''Town' AS CityName"}));
    EXPECT_EQ(Resolve(db, "O'Town", 5).cityCodes, "05001");
}

TEST(CityResolution, DatabaseErrorIsReportedNotThrown)
{
    ReferenceDatabase missing("/nonexistent/db/km_data.db");
    const CityResolutionResult result = Resolve(missing, "千代田区", 13);
    EXPECT_EQ(result.code, CityResolutionCode::DatabaseError);
    EXPECT_NE(result.message.find("km_data.db"), std::string::npos);
    EXPECT_EQ(result.title, "Error");
    EXPECT_TRUE(result.cityCodes.empty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ReferenceDatabase noTable(MakeDatabase(dir, {"CREATE TABLE other (x INTEGER)"}));
    const CityResolutionResult noRows = Resolve(noTable, "千代田区", 13);
    EXPECT_EQ(noRows.code, CityResolutionCode::DatabaseError);
    EXPECT_NE(noRows.message.find("T02_CITY"), std::string::npos);
}
