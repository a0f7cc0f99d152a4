#include "run/PostingMemory.h"

#include "run/SearchRequest.h"
#include "text/CodePage932.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kenmori {

// The format this program writes; a file of a later one is left alone.
static constexpr int kFormatVersion = 1;

std::string SearchIdentity(const SearchConditions& conditions)
{
    SearchConditions search = conditions;
    search.jobSeekerNumber1.clear();
    search.jobSeekerNumber2.clear();
    const std::string body = BuildSearchRequestBody(search);
    return QCryptographicHash::hash(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string JobNumberOfLink(std::string_view link)
{
    const size_t query = link.find('?');
    if (query == std::string_view::npos)
        return {};
    for (size_t at = query + 1; at < link.size();) {
        const size_t end = std::min(link.find('&', at), link.size());
        const std::string_view pair = link.substr(at, end - at);
        if (pair.starts_with("kJNo="))
            return std::string(pair.substr(5));
        at = end + 1;
    }
    return {};
}

static QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kenmori_history_%1").arg(++counter);
}

PostingMemory::PostingMemory(std::filesystem::path file)
    : m_file(std::move(file))
    , m_connectionName(NextConnectionName())
{
    m_open = openFile();
    if (!m_open) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

PostingMemory::~PostingMemory()
{
    if (!m_open)
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

// The damaged file's new name beside it: history.damaged.db, then
// history.damaged-2.db and so on, so that no earlier one is overwritten.
static std::filesystem::path AsideName(const std::filesystem::path& file)
{
    std::error_code error;
    for (int number = 1;; ++number) {
        const std::string suffix = number == 1 ? ".damaged" : ".damaged-" + std::to_string(number);
        std::filesystem::path aside = file;
        aside.replace_filename(file.stem().string() + suffix + file.extension().string());
        if (!std::filesystem::exists(aside, error))
            return aside;
    }
}

// SQLITE_CORRUPT and SQLITE_NOTADB: the file is no database of ours any
// more. Any other failure (busy, locked, unreadable) leaves it as it is.
static bool IsDamage(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QStringLiteral("11") || code == QStringLiteral("26");
}

bool PostingMemory::openFile()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(PathToQString(m_file));
    // Another run (the window, a scheduled kenmori-cli) may be writing.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    const std::string where = m_file.string();
    if (!db.open()) {
        m_problem = "履歴ファイルを開けないため、履歴を使わずに取得します: " + where;
        return false;
    }
    QSqlQuery check(db);
    bool damaged = false;
    bool readable = check.exec(QStringLiteral("PRAGMA quick_check"));
    if (readable) {
        readable = check.next();
        damaged = !readable || check.value(0).toString() != QStringLiteral("ok");
    } else {
        damaged = IsDamage(check.lastError());
    }
    check.finish();
    int format = 0;
    if (readable && !damaged) {
        QSqlQuery version(db);
        readable = version.exec(QStringLiteral("PRAGMA user_version")) && version.next();
        format = readable ? version.value(0).toInt() : 0;
    }
    if (damaged) {
        db.close();
        const std::filesystem::path aside = AsideName(m_file);
        std::error_code error;
        std::filesystem::rename(m_file, aside, error);
        m_problem = error ? "履歴ファイルが壊れているため、履歴を使わずに取得します: " + where
                          : "履歴ファイルが壊れているため、履歴を使わずに取得します。壊れたファイルは "
                + aside.string() + " として残しました。";
        return false;
    }
    if (!readable) {
        m_problem = "履歴ファイルを読めないため、履歴を使わずに取得します: " + where;
        return false;
    }
    if (format > kFormatVersion) {
        m_problem = "履歴ファイルが新しい版のものであるため、履歴を使わずに取得します: " + where;
        return false;
    }
    const bool created = exec(QStringLiteral("CREATE TABLE IF NOT EXISTS postings (search TEXT NOT NULL, "
                                             "job_number TEXT NOT NULL, first_seen TEXT NOT NULL, "
                                             "last_seen TEXT NOT NULL, output_file TEXT NOT NULL, "
                                             "PRIMARY KEY (search, job_number))"))
        && exec(QStringLiteral("CREATE TABLE IF NOT EXISTS runs (search TEXT PRIMARY KEY, output_file TEXT NOT "
                               "NULL, complete INTEGER NOT NULL)"))
        && exec(QStringLiteral("PRAGMA user_version = %1").arg(kFormatVersion));
    if (!created) {
        m_problem = "履歴ファイルに書き込めないため、履歴を使わずに取得します: " + where;
        return false;
    }
    return true;
}

bool PostingMemory::exec(const QString& sql, const QVariantList& values)
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

std::set<std::string> PostingMemory::jobNumbers(const QString& sql, const QVariantList& values) const
{
    std::set<std::string> numbers;
    if (!m_open)
        return numbers;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return numbers;
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return numbers;
    while (query.next())
        numbers.insert(query.value(0).toString().toStdString());
    return numbers;
}

std::set<std::string> PostingMemory::written(const std::string& search) const
{
    return jobNumbers(QStringLiteral("SELECT job_number FROM postings WHERE search = ?"),
                      {QString::fromStdString(search)});
}

std::set<std::string> PostingMemory::writtenTo(const std::string& search, const std::filesystem::path& file) const
{
    return jobNumbers(QStringLiteral("SELECT job_number FROM postings WHERE search = ? AND output_file = ?"),
                      {QString::fromStdString(search), PathToQString(file)});
}

bool PostingMemory::remember(const std::string& search, const std::string& jobNumber,
                             const std::filesystem::path& file, const std::string& day)
{
    // One statement is one transaction: a kill never leaves half a row.
    return m_open
        && exec(QStringLiteral("INSERT INTO postings (search, job_number, first_seen, last_seen, output_file) "
                               "VALUES (?, ?, ?, ?, ?) ON CONFLICT (search, job_number) DO UPDATE SET "
                               "last_seen = excluded.last_seen, output_file = excluded.output_file"),
                {QString::fromStdString(search), QString::fromStdString(jobNumber), QString::fromStdString(day),
                 QString::fromStdString(day), PathToQString(file)});
}

bool PostingMemory::beginRun(const std::string& search, const std::filesystem::path& file)
{
    return m_open
        && exec(QStringLiteral("INSERT OR REPLACE INTO runs (search, output_file, complete) VALUES (?, ?, 0)"),
                {QString::fromStdString(search), PathToQString(file)});
}

bool PostingMemory::endRun(const std::string& search, bool complete)
{
    return m_open
        && exec(QStringLiteral("UPDATE runs SET complete = ? WHERE search = ?"),
                {complete ? 1 : 0, QString::fromStdString(search)});
}

std::optional<std::filesystem::path> PostingMemory::interruptedRun(const std::string& search) const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("SELECT output_file FROM runs WHERE search = ? AND complete = 0"));
    query.addBindValue(QString::fromStdString(search));
    if (!query.exec() || !query.next())
        return std::nullopt;
    return std::filesystem::path(query.value(0).toString().toStdU16String());
}

bool PostingMemory::forget(const std::string& search)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (!m_open || !db.transaction())
        return false;
    const QVariantList key{QString::fromStdString(search)};
    if (exec(QStringLiteral("DELETE FROM postings WHERE search = ?"), key)
        && exec(QStringLiteral("DELETE FROM runs WHERE search = ?"), key))
        return db.commit();
    db.rollback();
    return false;
}

std::vector<std::filesystem::path> InterruptedRunFiles(const std::filesystem::path& history)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    if (!std::filesystem::is_regular_file(history, error))
        return files;
    const QString name = NextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(PathToQString(history));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT output_file FROM runs WHERE complete = 0"))) {
                while (query.next())
                    files.emplace_back(query.value(0).toString().toStdU16String());
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return files;
}

static std::string ReadWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> JobNumbersInCsv(const std::filesystem::path& file, const OutputFieldChecks& fields)
{
    std::set<std::string> numbers;
    if (!fields[kSlotJobNumber])
        return numbers;
    const std::string bytes = ReadWhole(file);
    size_t start = bytes.find("\r\n"); // past the header
    while (start != std::string::npos) {
        start += 2;
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos)
            break;
        // A job number never holds a quote, so the first field ends at the
        // next one; a line before the header (a workbook's journal) holds
        // no job number.
        if (bytes[start] == '"') {
            const size_t close = bytes.find('"', start + 1);
            const std::string field = close < end ? bytes.substr(start + 1, close - start - 1) : std::string();
            if (!field.empty() && field.find_first_not_of("0123456789-") == std::string::npos)
                numbers.insert(field);
        }
        start = end;
    }
    return numbers;
}

bool CutToLastWholeLine(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return true;
    const std::string bytes = ReadWhole(file);
    const size_t last = bytes.rfind("\r\n");
    const size_t keep = last == std::string::npos ? 0 : last + 2;
    if (keep == bytes.size())
        return true;
    std::filesystem::resize_file(file, keep, error);
    return !error;
}

} // namespace kenmori
