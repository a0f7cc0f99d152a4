// The posting memory: what it keeps of a search, a damaged or newer file, and
// the pieces a resumed run reads from its own CSV file.

#include "run/CsvOutput.h"
#include "run/PostingMemory.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

using namespace kenmori;

class PostingMemoryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::filesystem::path file = dir.filePath("history.db").toStdString();
    std::filesystem::path csv = dir.filePath("a.csv").toStdString();
};

TEST_F(PostingMemoryTest, KeepsJobNumbersPerSearchAndFileAndForgetsASearch)
{
    {
        PostingMemory memory(file);
        ASSERT_TRUE(memory.isOpen()) << memory.problem();
        EXPECT_TRUE(memory.beginRun("s1", csv));
        EXPECT_TRUE(memory.remember("s1", "13010-00000001", csv, "2026-01-01"));
        EXPECT_TRUE(memory.remember("s1", "13010-00000002", "b.csv", "2026-01-01"));
        EXPECT_TRUE(memory.remember("s1", "13010-00000001", csv, "2026-01-02")); // again, later
        EXPECT_TRUE(memory.remember("s2", "13010-00000003", csv, "2026-01-01"));
    }
    PostingMemory memory(file); // a later start reads what the first kept
    ASSERT_TRUE(memory.isOpen());
    EXPECT_EQ(memory.written("s1"), (std::set<std::string>{"13010-00000001", "13010-00000002"}));
    EXPECT_EQ(memory.writtenTo("s1", csv), std::set<std::string>{"13010-00000001"});
    EXPECT_EQ(memory.interruptedRun("s1"), csv); // begun, never ended: a kill
    EXPECT_TRUE(memory.endRun("s1", true));
    EXPECT_EQ(memory.interruptedRun("s1"), std::nullopt);
    EXPECT_TRUE(memory.forget("s1"));
    EXPECT_TRUE(memory.written("s1").empty());
    EXPECT_EQ(memory.written("s2").size(), 1u);

    // Only job numbers, days and file names are kept.
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "inspect");
    db.setDatabaseName(QString::fromStdString(file.string()));
    ASSERT_TRUE(db.open());
    QSqlQuery columns(db);
    ASSERT_TRUE(columns.exec("SELECT * FROM postings"));
    EXPECT_EQ(columns.record().count(), 5);
    columns.finish();
    db.close();
}

TEST_F(PostingMemoryTest, ADamagedFileIsKeptAsideAndANewerOneLeftAlone)
{
    WriteFileBytes(file, "this is no database, only text that fills a page or so" + std::string(5000, 'x'));
    {
        PostingMemory memory(file);
        EXPECT_FALSE(memory.isOpen());
        EXPECT_NE(memory.problem().find("壊れている"), std::string::npos) << memory.problem();
        EXPECT_TRUE(memory.written("s").empty());
        EXPECT_FALSE(memory.remember("s", "1", csv, "2026-01-01"));
    }
    const std::filesystem::path aside = dir.filePath("history.damaged.db").toStdString();
    EXPECT_TRUE(ReadFileBytes(aside).starts_with("this is no database"));
    EXPECT_FALSE(std::filesystem::exists(file));
    // The next start begins afresh; a second damaged file gets its own name.
    EXPECT_TRUE(PostingMemory(file).isOpen());
    WriteFileBytes(file, std::string(5000, 'y'));
    EXPECT_FALSE(PostingMemory(file).isOpen());
    EXPECT_TRUE(std::filesystem::exists(dir.filePath("history.damaged-2.db").toStdString()));

    // A file of a later format is not ours to change.
    std::filesystem::remove(file);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "newer");
        db.setDatabaseName(QString::fromStdString(file.string()));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("PRAGMA user_version = 7");
        db.close();
    }
    QSqlDatabase::removeDatabase("newer");
    const std::string before = ReadFileBytes(file);
    PostingMemory newer(file);
    EXPECT_FALSE(newer.isOpen());
    EXPECT_NE(newer.problem().find("新しい版"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(file), before);
}

TEST(PostingMemoryPieces, SearchIdentityLinksAndTheResumedFile)
{
    SearchConditions a;
    a.prefecture1 = 13;
    SearchConditions b = a;
    b.jobSeekerNumber1 = "12345";
    b.jobSeekerNumber2 = "1234567";
    EXPECT_EQ(SearchIdentity(a), SearchIdentity(b)); // the job-seeker number is never part of it
    EXPECT_EQ(SearchIdentity(a).size(), 64u);
    b.freeWords = "x";
    EXPECT_NE(SearchIdentity(a), SearchIdentity(b));

    EXPECT_EQ(JobNumberOfLink("https://h/kensaku/GECA110010.do?screenId=GECA110010&kJNo=13010-1&kJKbn=1"),
              "13010-1");
    EXPECT_EQ(JobNumberOfLink("/kensaku/GECA110010.do?xkJNo=1&kJNo=2"), "2");
    EXPECT_EQ(JobNumberOfLink("/kensaku/GECA110010.do?kJNo"), "");
    EXPECT_EQ(JobNumberOfLink("/kensaku/kJNo=1"), "");

    QTemporaryDir dir;
    const std::filesystem::path csv = dir.filePath("a.csv").toStdString();
    OutputFieldChecks fields{};
    fields[kSlotJobNumber] = true;
    fields[kSlotCompanyName] = true;
    const std::string header = CsvHeaderLine(fields) + "\r\n";
    WriteFileBytes(csv, header + "\"13010-1\",\"a\"\r\n\"13010-2\",\"b\"\r\n\"13010-3\",\"c, cut sh");
    EXPECT_TRUE(CanAppendTo(csv, fields));
    EXPECT_TRUE(CutToLastWholeLine(csv));
    EXPECT_EQ(ReadFileBytes(csv), header + "\"13010-1\",\"a\"\r\n\"13010-2\",\"b\"\r\n");
    EXPECT_EQ(JobNumbersInCsv(csv, fields), (std::set<std::string>{"13010-1", "13010-2"}));
    fields[kSlotJobNumber] = false; // no number to read, and another header
    EXPECT_TRUE(JobNumbersInCsv(csv, fields).empty());
    EXPECT_FALSE(CanAppendTo(csv, fields));
    EXPECT_TRUE(CanAppendTo(dir.filePath("missing.csv").toStdString(), fields));
}
