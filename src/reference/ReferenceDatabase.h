#pragma once
// The reference database km_data.db (city codes, industry classes), opened
// read-only on its first query. A Qt database connection belongs to one
// thread: use an instance only on the thread that created it.

#include <QString>
#include <QVariantList>

#include <optional>
#include <string>
#include <vector>

class QThread;

namespace kenmori {

class ReferenceDatabase {
public:
    explicit ReferenceDatabase(QString filePath);
    ~ReferenceDatabase();
    ReferenceDatabase(const ReferenceDatabase&) = delete;
    ReferenceDatabase& operator=(const ReferenceDatabase&) = delete;

    const QString& filePath() const { return m_filePath; }

    // Runs one query with bound values and hands back its first row, every
    // column read as code page 932 text; row is empty when nothing matched.
    // False on a database error (file missing or unreadable, table missing,
    // wrong thread); errorText() then says what went wrong.
    bool selectFirstRow(const QString& sql, const QVariantList& values,
                        std::optional<std::vector<std::string>>& row);

    // Code page 932; empty after a query that succeeded.
    const std::string& errorText() const { return m_errorText; }

private:
    bool fail(const QString& detail);

    QString m_connectionName;
    QString m_filePath;
    QThread* m_ownerThread;
    std::string m_errorText;
};

} // namespace kenmori
