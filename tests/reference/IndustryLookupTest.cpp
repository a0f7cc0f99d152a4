// The industry name of a detail page, looked up among the industry groups.

#include "reference/IndustryLookup.h"
#include "reference/ReferenceDatabase.h"
#include "support/ReferenceTestSupport.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <string>

using namespace kenmori;

// Looks up UTF-8 text and gives the UTF-8 result; a database error fails the test.
static std::string Lookup(ReferenceDatabase& db, const char* utf8)
{
    std::string error;
    const std::string result = LookupIndustryCategory(db, Utf8ToShiftJis(utf8), error);
    EXPECT_TRUE(error.empty()) << utf8 << ": " << error;
    return ShiftJisToUtf8(result);
}

TEST(IndustryLookup, FindsGroupsOfTheBuiltTable)
{
    ReferenceDatabase db(BuiltDatabase());
    EXPECT_EQ(Lookup(db, "ソフトウェア業"), "情報通信業,39,情報サービス業,391");
    EXPECT_EQ(Lookup(db, "畜産食料品製造業"), "製造業,09,食料品製造業,091");
    // Part of a name still matches.
    EXPECT_EQ(Lookup(db, "ソフトウェア"), "情報通信業,39,情報サービス業,391");
    // Names with commas, as the caller hands them over ("，" made "、").
    EXPECT_EQ(Lookup(db, "旅館、ホテル"), "宿泊業、飲食サービス業,75,宿泊業,751");
    EXPECT_EQ(Lookup(db, "暖房・調理等装置、配管工事用附属品製造業"), "製造業,24,金属製品製造業,243");
    EXPECT_EQ(Lookup(db, "建築工事業（木造建築工事業を除く）"), "建設業,06,総合工事業,064");

    EXPECT_EQ(Lookup(db, "宇宙旅行業"), "");
    EXPECT_EQ(Lookup(db, "旅館，ホテル"), "");
    // Wildcards and quotes are plain text, found nowhere in the table.
    for (const char* text : {"%", "_", "ソフト%業", "ソフトウェア_", "'", "業' OR '1'='1", "\\"})
        EXPECT_EQ(Lookup(db, text), "") << text;
}

TEST(IndustryLookup, EqualNameWinsThenLowestCode)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Inserted out of code order, so that only ORDER BY can give code order.
    ReferenceDatabase db(MakeDatabase(
        dir,
        {
            "CREATE TABLE T03_CTGR (Ctgr1Name TEXT, Ctgr2Code TEXT, Ctgr2Name TEXT, Ctgr3Code TEXT, Ctgr3Name TEXT)",
            "INSERT INTO T03_CTGR VALUES ('D1', '12', 'M12', '123', 'その他の木製品製造業')",
            "INSERT INTO T03_CTGR VALUES ('D1', '12', 'M12', '122', '木製品製造業')",
            "INSERT INTO T03_CTGR VALUES ('D1', '12', 'M12', '121', '製材業、木製品製造業')",
            "INSERT INTO T03_CTGR VALUES ('D2', '50', 'M50', '502', '100%果汁製造業')",
            "INSERT INTO T03_CTGR VALUES ('D2', '50', 'M50', '501', '100X果汁製造業')",
            "INSERT INTO T03_CTGR VALUES ('D2', '50', 'M50', '504', 'A_B業')",
            "INSERT INTO T03_CTGR VALUES ('D2', '50', 'M50', '503', 'AXB業')",
            "INSERT INTO T03_CTGR VALUES ('D2', '50', 'M50', '505', 'O''Brien業')",
        }));
    EXPECT_EQ(Lookup(db, "木製品製造業"), "D1,12,M12,122");
    EXPECT_EQ(Lookup(db, "製品製造業"), "D1,12,M12,121");
    EXPECT_EQ(Lookup(db, "100%果汁"), "D2,50,M50,502");
    EXPECT_EQ(Lookup(db, "%"), "D2,50,M50,502");
    EXPECT_EQ(Lookup(db, "A_B"), "D2,50,M50,504");
    EXPECT_EQ(Lookup(db, "_"), "D2,50,M50,504");
    EXPECT_EQ(Lookup(db, "O'Brien"), "D2,50,M50,505");
    EXPECT_EQ(Lookup(db, "o'brien業"), "D2,50,M50,505");
}

TEST(IndustryLookup, EmptyNameAndDatabaseFaultsGiveNoResult)
{
    std::string error = "stale";
    ReferenceDatabase db(BuiltDatabase());
    EXPECT_EQ(LookupIndustryCategory(db, "", error), "");
    EXPECT_TRUE(error.empty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ReferenceDatabase noTable(MakeDatabase(dir, {"CREATE TABLE T02_CITY (AreaID INTEGER)"}));
    EXPECT_EQ(LookupIndustryCategory(noTable, Utf8ToShiftJis("ソフトウェア業"), error), "");
    EXPECT_NE(error.find("T03_CTGR"), std::string::npos) << error;

    ReferenceDatabase missing("/nonexistent/db/km_data.db");
    EXPECT_EQ(LookupIndustryCategory(missing, Utf8ToShiftJis("ソフトウェア業"), error), "");
    EXPECT_NE(error.find("km_data.db"), std::string::npos) << error;

    // A later good lookup clears the error.
    EXPECT_EQ(LookupIndustryCategory(db, Utf8ToShiftJis("ソフトウェア業"), error),
              Utf8ToShiftJis("情報通信業,39,情報サービス業,391"));
    EXPECT_TRUE(error.empty());
}
