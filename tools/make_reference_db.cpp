// Build step: turns the reference tables under data/ into the SQLite file
// db/km_data.db that every program and test reads.
//
// Usage: make_reference_db DATA_DIR OUTPUT_FILE
//
// The file is written under a temporary name and renamed at the end, so a
// failed run never leaves a half-filled database for the build to trust.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <vector>

struct TableLayout {
    QString name;
    QStringList columns; // also the header line of the CSV file
    QStringList types;   // SQL type of each column
    QStringList indexes; // CREATE INDEX statements
};

static const std::vector<TableLayout>& Layouts()
{
    static const std::vector<TableLayout> kLayouts = {
        {"T02_CITY",
         {"AreaID", "CityID", "CityName"},
         {"INTEGER", "TEXT", "TEXT"},
         {"CREATE UNIQUE INDEX IX_T02_CITY_NAME ON T02_CITY (AreaID, CityName)"}},
        {"T03_CTGR",
         {"Ctgr1Name", "Ctgr2Code", "Ctgr2Name", "Ctgr3Code", "Ctgr3Name"},
         {"TEXT", "TEXT", "TEXT", "TEXT", "TEXT"},
         {"CREATE UNIQUE INDEX IX_T03_CTGR_CODE ON T03_CTGR (Ctgr3Code)",
          "CREATE INDEX IX_T03_CTGR_NAME ON T03_CTGR (Ctgr3Name)"}},
    };
    return kLayouts;
}

static bool Fail(const QString& message)
{
    std::fprintf(stderr, "make_reference_db: %s\n", qUtf8Printable(message));
    return false;
}

static bool Exec(QSqlQuery& query, const QString& sql)
{
    if (query.exec(sql))
        return true;
    return Fail(sql + ": " + query.lastError().text());
}

static bool LoadTable(QSqlDatabase& db, const TableLayout& layout, const QString& csvPath)
{
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Fail("cannot read " + csvPath);
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);

    if (in.readLine() != layout.columns.join(','))
        return Fail(csvPath + ": header is not " + layout.columns.join(','));

    QStringList definitions;
    for (qsizetype i = 0; i < layout.columns.size(); ++i)
        definitions << layout.columns[i] + ' ' + layout.types[i] + " NOT NULL";
    QSqlQuery query(db);
    if (!Exec(query, "CREATE TABLE " + layout.name + " (" + definitions.join(", ") + ")"))
        return false;

    const QString placeholders = QStringList(layout.columns.size(), "?").join(", ");
    if (!query.prepare("INSERT INTO " + layout.name + " VALUES (" + placeholders + ")"))
        return Fail(query.lastError().text());

    int lineNo = 1;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNo;
        const QStringList values = line.split(',');
        if (values.size() != layout.columns.size() || values.contains(QString()))
            return Fail(QString("%1:%2: expected %3 non-empty values")
                            .arg(csvPath)
                            .arg(lineNo)
                            .arg(layout.columns.size()));
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (layout.types[i] != "INTEGER") {
                query.bindValue(int(i), values[i]);
                continue;
            }
            bool ok = false;
            const int number = values[i].toInt(&ok);
            if (!ok)
                return Fail(QString("%1:%2: %3 is not a number").arg(csvPath).arg(lineNo).arg(values[i]));
            query.bindValue(int(i), number);
        }
        if (!query.exec())
            return Fail(QString("%1:%2: %3").arg(csvPath).arg(lineNo).arg(query.lastError().text()));
    }

    for (const QString& index : layout.indexes)
        if (!Exec(query, index))
            return false;
    return true;
}

static bool Build(const QString& dataDir, const QString& dbPath)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "make_reference_db");
    db.setDatabaseName(dbPath);
    if (!db.open())
        return Fail(dbPath + ": " + db.lastError().text());
    if (!db.transaction())
        return Fail(db.lastError().text());
    for (const TableLayout& layout : Layouts())
        if (!LoadTable(db, layout, QDir(dataDir).filePath(layout.name + ".csv")))
            return false;
    if (!db.commit())
        return Fail(db.lastError().text());
    db.close();
    return true;
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        Fail("usage: make_reference_db DATA_DIR OUTPUT_FILE");
        return 2;
    }
    const QString output = QFileInfo(args[2]).absoluteFilePath();
    const QString partial = output + ".partial";
    QDir().mkpath(QFileInfo(output).absolutePath());
    QFile::remove(partial);

    const bool built = Build(args[1], partial);
    QSqlDatabase::removeDatabase("make_reference_db");
    if (!built) {
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        Fail("cannot rename " + partial + " to " + output);
        return 1;
    }
    return 0;
}
