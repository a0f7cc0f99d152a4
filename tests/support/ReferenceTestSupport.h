#pragma once
// The reference database for tests: the one the build made, next to the test
// program, or a small one made in a temporary folder.

#include "reference/IndustryLookup.h"
#include "reference/ReferenceDatabase.h"
#include "run/ProgramFolder.h"
#include "support/RetrievalTestSupport.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>

namespace kenmori {

inline QString BuiltDatabase()
{
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    return QString::fromStdU16String(ReferenceDatabasePath(folder).u16string());
}

// A database of the given statements in dir, closed again.
inline QString MakeDatabase(const QTemporaryDir& dir, const QStringList& statements)
{
    const QString path = dir.filePath("km_data.db");
    {
        QSqlDatabase setup = QSqlDatabase::addDatabase("QSQLITE", "setup");
        setup.setDatabaseName(path);
        EXPECT_TRUE(setup.open());
        QSqlQuery query(setup);
        for (const QString& statement : statements)
            EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        setup.close();
    }
    QSqlDatabase::removeDatabase("setup");
    return path;
}

// A run's host that answers the industry lookup from the built reference
// database, so that every field of a line can be checked.
class ReferenceHost : public RecordingHost {
public:
    std::string lookupIndustryCategory(const std::string& industryName) override
    {
        std::string error;
        const std::string answer = LookupIndustryCategory(database, industryName, error);
        EXPECT_EQ(error, "");
        return answer;
    }

    ReferenceDatabase database{BuiltDatabase()};
};

} // namespace kenmori
