#include "reference/ReferenceDatabase.h"

#include "text/CodePage932.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <atomic>
#include <utility>

namespace kenmori {

// Connection names are process-wide in Qt; every instance needs its own.
static QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kenmori_reference_%1").arg(++counter);
}

ReferenceDatabase::ReferenceDatabase(QString filePath)
    : m_connectionName(NextConnectionName())
    , m_filePath(std::move(filePath))
    , m_ownerThread(QThread::currentThread())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_filePath);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
}

ReferenceDatabase::~ReferenceDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool ReferenceDatabase::fail(const QString& detail)
{
    m_errorText = QStringToShiftJis(
        QStringLiteral("Reference database %1: %2").arg(QDir::toNativeSeparators(m_filePath), detail));
    return false;
}

bool ReferenceDatabase::selectFirstRow(const QString& sql, const QVariantList& values,
                                       std::optional<std::vector<std::string>>& row)
{
    row.reset();
    m_errorText.clear();
    if (QThread::currentThread() != m_ownerThread)
        return fail(QStringLiteral("used from a thread that does not own the connection"));

    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!db.isOpen()) {
        // Read-only SQLite would report a missing file only as "unable to open".
        if (!QFileInfo(m_filePath).isFile())
            return fail(QStringLiteral("file not found"));
        if (!db.open())
            return fail(db.lastError().text());
    }

    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return fail(query.lastError().text());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return fail(query.lastError().text());
    if (!query.next()) {
        if (query.lastError().isValid())
            return fail(query.lastError().text());
        return true;
    }

    std::vector<std::string> columns;
    const int count = query.record().count();
    columns.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        columns.push_back(QStringToShiftJis(query.value(i).toString()));
    row = std::move(columns);
    return true;
}

} // namespace kenmori
