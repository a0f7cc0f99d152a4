// The built reference database: what the lookups can find in it.

#include "reference/ReferenceDatabase.h"
#include "support/ReferenceTestSupport.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace kenmori;

// First row of the query, as UTF-8 texts; fails the test on a database error.
static std::vector<std::string> Row(ReferenceDatabase& db, const QString& sql, const QVariantList& values = {})
{
    std::optional<std::vector<std::string>> row;
    EXPECT_TRUE(db.selectFirstRow(sql, values, row)) << db.errorText();
    std::vector<std::string> utf8;
    if (row)
        for (const std::string& value : *row)
            utf8.push_back(ShiftJisToUtf8(value));
    return utf8;
}

static int Count(ReferenceDatabase& db, const QString& sql, const QVariantList& values = {})
{
    const std::vector<std::string> row = Row(db, sql, values);
    return row.empty() ? -1 : std::stoi(row[0]);
}

static std::vector<std::string> City(ReferenceDatabase& db, int area, const char* cityId)
{
    return Row(db,
               "SELECT AreaID, CityID, CityName FROM T02_CITY WHERE AreaID = ? AND CityID = ?"
               " ORDER BY length(CityName) DESC",
               {area, QString(cityId)});
}

static std::vector<std::string> Group(ReferenceDatabase& db, const char* code)
{
    return Row(db,
               "SELECT Ctgr1Name, Ctgr2Code, Ctgr2Name, Ctgr3Code, Ctgr3Name FROM T03_CTGR"
               " WHERE Ctgr3Code = ?",
               {QString(code)});
}

TEST(ReferenceData, CityTableHoldsEveryCityOnceUnderUsableNames)
{
    ReferenceDatabase db(BuiltDatabase());
    // 1,698 municipalities + 23 special wards + 20 designated cities + 171
    // wards, plus the unambiguous short ward names.
    const int cities = Count(db, "SELECT COUNT(*) FROM T02_CITY");
    EXPECT_GE(cities, 1912 + 100);
    EXPECT_LE(cities, 1912 + 171);
    EXPECT_EQ(Count(db, "SELECT COUNT(DISTINCT AreaID) FROM T02_CITY"), 47);
    EXPECT_EQ(Count(db,
                    "SELECT COUNT(*) FROM T02_CITY WHERE AreaID NOT BETWEEN 1 AND 47"
                    " OR length(CityID) <> 3 OR CityID GLOB '*[^0-9]*'"),
              0);

    using Strings = std::vector<std::string>;
    EXPECT_EQ(City(db, 1, "101"), (Strings{"1", "101", "札幌市中央区"}));
    EXPECT_EQ(City(db, 13, "101"), (Strings{"13", "101", "千代田区"}));
    EXPECT_EQ(City(db, 14, "100"), (Strings{"14", "100", "横浜市"}));
    EXPECT_EQ(City(db, 22, "138"), (Strings{"22", "138", "浜松市中央区"}));
    EXPECT_EQ(City(db, 47, "382"), (Strings{"47", "382", "与那国町"}));

    // Short ward names only where they name one place in the prefecture.
    const QString byName = "SELECT COUNT(*) FROM T02_CITY WHERE AreaID = ? AND CityName = ?";
    EXPECT_EQ(Count(db, byName, {14, "鶴見区"}), 1);
    EXPECT_EQ(Count(db, byName, {27, "鶴見区"}), 1);
    EXPECT_EQ(Count(db, byName, {27, "北区"}), 0);
    EXPECT_EQ(Count(db, byName, {14, "緑区"}), 0);
    EXPECT_EQ(Count(db, byName, {27, "大阪市北区"}), 1);
    EXPECT_EQ(Count(db, byName, {27, "堺市北区"}), 1);
    // No prefecture rows; the Northern Territories' 泊村 is left out, Tomari stays.
    EXPECT_EQ(Count(db, byName, {13, "東京都"}), 0);
    EXPECT_EQ(Count(db, byName, {1, "泊村"}), 1);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM T02_CITY WHERE AreaID = 1 AND CityID BETWEEN '695' AND '700'"), 0);

    EXPECT_EQ(Count(db,
                    "SELECT COUNT(*) FROM (SELECT 1 FROM T02_CITY GROUP BY AreaID, CityName"
                    " HAVING COUNT(*) > 1)"),
              0);
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM T02_CITY WHERE instr(CityName, ',') OR CityName = ''"), 0);
}

TEST(ReferenceData, CategoryTableHoldsEveryGroupWithCleanNames)
{
    ReferenceDatabase db(BuiltDatabase());
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM T03_CTGR"), 530);
    EXPECT_EQ(Count(db, "SELECT COUNT(DISTINCT Ctgr3Code) FROM T03_CTGR"), 530);
    EXPECT_EQ(Count(db, "SELECT COUNT(DISTINCT Ctgr2Code) FROM T03_CTGR"), 99);
    EXPECT_EQ(Count(db, "SELECT COUNT(DISTINCT Ctgr1Name) FROM T03_CTGR"), 20);
    EXPECT_EQ(Count(db,
                    "SELECT COUNT(*) FROM T03_CTGR WHERE length(Ctgr3Code) <> 3"
                    " OR length(Ctgr2Code) <> 2 OR substr(Ctgr3Code, 1, 2) <> Ctgr2Code"),
              0);

    using Strings = std::vector<std::string>;
    EXPECT_EQ(Group(db, "391"), (Strings{"情報通信業", "39", "情報サービス業", "391", "ソフトウェア業"}));
    EXPECT_EQ(Group(db, "091"), (Strings{"製造業", "09", "食料品製造業", "091", "畜産食料品製造業"}));
    EXPECT_EQ(Group(db, "010"),
              (Strings{"農業、林業", "01", "農業", "010", "管理、補助的経済活動を行う事業所（０１農業）"}));
    EXPECT_EQ(Group(db, "243")[4], "暖房・調理等装置、配管工事用附属品製造業");
    EXPECT_EQ(Group(db, "064")[4], "建築工事業（木造建築工事業を除く）");
    EXPECT_EQ(Group(db, "231")[4], "非鉄金属第１次製錬・精製業");

    // Any comma would break the four-piece result; the others are not how
    // the site writes names.
    for (const char* column : {"Ctgr1Name", "Ctgr2Name", "Ctgr3Name"})
        EXPECT_EQ(Count(db,
                        QString("SELECT COUNT(*) FROM T03_CTGR WHERE %1 = ''"
                                " OR %1 GLOB '*[,()0-9]*' OR instr(%1, '，')")
                            .arg(column)),
                  0)
            << column;
}

TEST(ReferenceDatabase, IsReadOnlyAndRefusesForeignThreadsAndBadFiles)
{
    // A copy, so that a write getting through cannot spoil the other tests.
    QTemporaryDir tempDir;
    ASSERT_TRUE(tempDir.isValid());
    const std::filesystem::path temp = tempDir.path().toStdString();
    const std::filesystem::path copy = temp / "kenmori_refdb_copy.db";
    std::filesystem::copy_file(BuiltDatabase().toStdString(), copy,
                               std::filesystem::copy_options::overwrite_existing);
    ReferenceDatabase db(QString::fromStdString(copy.string()));
    ReferenceDatabase second(BuiltDatabase());
    std::optional<std::vector<std::string>> row;
    EXPECT_FALSE(db.selectFirstRow("DELETE FROM T03_CTGR", {}, row));
    EXPECT_FALSE(db.errorText().empty());
    EXPECT_EQ(Count(db, "SELECT COUNT(*) FROM T03_CTGR"), 530);
    EXPECT_TRUE(db.errorText().empty());
    EXPECT_EQ(Count(second, "SELECT COUNT(*) FROM T03_CTGR"), 530);

    bool usedElsewhere = true;
    std::thread([&] { usedElsewhere = db.selectFirstRow("SELECT 1", {}, row); }).join();
    EXPECT_FALSE(usedElsewhere);
    EXPECT_EQ(Count(db, "SELECT 1"), 1);

    ReferenceDatabase missing("/nonexistent/db/km_data.db");
    EXPECT_FALSE(missing.selectFirstRow("SELECT 1", {}, row));
    EXPECT_NE(missing.errorText().find("km_data.db"), std::string::npos);
    EXPECT_FALSE(row.has_value());

    const std::filesystem::path garbage = temp / "kenmori_not_a_db.db";
    std::ofstream(garbage) << "this is no database";
    ReferenceDatabase broken(QString::fromStdString(garbage.string()));
    EXPECT_FALSE(broken.selectFirstRow("SELECT COUNT(*) FROM T02_CITY", {}, row));
    EXPECT_FALSE(broken.errorText().empty());
}
