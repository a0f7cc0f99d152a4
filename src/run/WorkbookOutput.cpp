#include "run/WorkbookOutput.h"

#include "pages/OutputSlots.h"
#include "run/ConditionChoices.h"
#include "run/CsvOutput.h"
#include "run/OutputFormat.h"
#include "run/PostingMemory.h"
#include "text/CodePage932.h"

#include <QCoreApplication>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <xlsxwriter.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

namespace kenmori {

namespace {

using CsvRow = std::vector<std::string>;

// Limits of the file format.
constexpr int kSheetNameLimit = 31;    // characters
constexpr int kCellTextLimit = 32767;  // characters
constexpr size_t kLinkLimit = 2079;    // characters of an address
constexpr int kLinksPerSheet = 65530;  // Excel opens no more
constexpr int kRowsForWidths = 100;    // the first rows fit the columns
constexpr double kWidestColumn = 60.0; // long texts wrap in the cell instead

// The rows of a CSV this program wrote (every field quoted, CR LF ends);
// unquoted fields are taken as they stand. A last line without its end was
// cut off by a kill and is left out.
std::vector<CsvRow> ReadCsvRows(std::string_view text)
{
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (at + 1 < text.size() && text[at + 1] == '"')
                field += text[++at];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    return rows;
}

std::string ReadWholeFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Columns a character takes on screen: two for the wide ones.
int DisplayWidth(const std::string& utf8)
{
    int width = 0;
    for (const char32_t c : QString::fromStdString(utf8).toUcs4()) {
        const bool halfWidthKana = c >= 0xFF61 && c <= 0xFF9F;
        width += c >= 0x1100 && !halfWidthKana ? 2 : 1;
    }
    return width;
}

// Excel reads "_x0041_" in a text as "A": such a run is escaped so that
// the cell shows what the page said.
std::string EscapedForExcel(const std::string& utf8)
{
    static const QRegularExpression kEscapeLike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    if (utf8.find("_x") == std::string::npos)
        return utf8;
    return QString::fromStdString(utf8).replace(kEscapeLike, QStringLiteral("_x005F_\\1")).toStdString();
}

// A cell's text as Excel is to show it, cut to the characters a cell holds.
std::string CellText(const std::string& utf8)
{
    std::string escaped = EscapedForExcel(utf8);
    const QString text = QString::fromStdString(escaped);
    if (text.size() <= kCellTextLimit)
        return escaped;
    qsizetype end = kCellTextLimit;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end).toStdString();
}

bool IsWebAddress(const std::string& text)
{
    return (text.starts_with("https://") || text.starts_with("http://")) && text.size() <= kLinkLimit;
}

// The output slot of each column of the journal's header.
std::vector<int> ColumnSlots(const CsvRow& header)
{
    std::vector<int> columnSlots;
    const auto& catalog = OutputFieldCatalog();
    for (const std::string& name : header) {
        int slot = -1;
        for (int i = 0; i < kOutputFieldCount; ++i) {
            if (ShiftJisToUtf8(TrimText(catalog[i])) == name) {
                slot = i;
                break;
            }
        }
        columnSlots.push_back(slot);
    }
    return columnSlots;
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

bool WriteSheet(lxw_workbook* workbook, const std::string& sheetName, const CsvRow& header,
                const std::vector<CsvRow>& rows, size_t firstRow)
{
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
    if (!sheet)
        sheet = workbook_add_worksheet(workbook, nullptr);
    if (!sheet)
        return false;
    const auto columns = static_cast<lxw_col_t>(header.size());
    // Widths first: in constant-memory mode a row is written out as the next begins.
    for (lxw_col_t column = 0; column < columns; ++column) {
        int width = DisplayWidth(header[column]);
        for (size_t r = firstRow; r < rows.size() && r < firstRow + kRowsForWidths; ++r) {
            if (column < rows[r].size())
                width = std::max(width, DisplayWidth(rows[r][column]));
        }
        worksheet_set_column(sheet, column, column, std::min(width + 2.0, kWidestColumn), nullptr);
    }
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    for (lxw_col_t column = 0; column < columns; ++column)
        worksheet_write_string(sheet, 0, column, CellText(header[column]).c_str(), bold);
    const std::vector<int> columnSlots = ColumnSlots(header);
    int links = 0;
    lxw_row_t rowNumber = 0;
    for (size_t r = firstRow; r < rows.size(); ++r) {
        ++rowNumber;
        for (lxw_col_t column = 0; column < columns && column < rows[r].size(); ++column) {
            const std::string& value = rows[r][column];
            const bool address = columnSlots[column] == kSlotPageUrl
                || columnSlots[column] == kSlotPostingSheetUrl;
            // An address Excel would refuse as a link stays plain text.
            if (address && links < kLinksPerSheet && IsWebAddress(value)
                && worksheet_write_url(sheet, rowNumber, column, value.c_str(), nullptr) == LXW_NO_ERROR) {
                ++links;
                continue;
            }
            if (worksheet_write_string(sheet, rowNumber, column, CellText(value).c_str(), nullptr) != LXW_NO_ERROR)
                return false;
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    if (columns > 0)
        worksheet_autofilter(sheet, 0, 0, rowNumber, columns - 1);
    return true;
}

// The same time on both files says the workbook holds the journal's rows.
void MarkCaughtUp(const std::filesystem::path& journal, const std::filesystem::path& workbook)
{
    std::error_code error;
    const auto made = std::filesystem::last_write_time(workbook, error);
    if (!error)
        std::filesystem::last_write_time(journal, made, error);
}

std::string Utf8Name(const std::filesystem::path& path)
{
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

bool WriteWorkbookAs(const std::filesystem::path& journal, const std::filesystem::path& file,
                     std::chrono::system_clock::time_point created)
{
    std::string text = ReadWholeFile(journal);
    if (text.starts_with(kUtf8ByteOrderMark))
        text.erase(0, kUtf8ByteOrderMark.size());
    const std::vector<CsvRow> rows = ReadCsvRows(text);
    if (rows.size() < 2 || rows[0].empty())
        return false; // not a journal of this program
    const std::string& sheetName = rows[0].front();

    // libxlsxwriter takes UTF-8 names on every system.
    const std::string fileName = Utf8Name(file);
    const std::string folder = Utf8Name(file.parent_path().empty() ? std::filesystem::path(".")
                                                                   : file.parent_path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // a long list needs no more memory than a short one
    options.tmpdir = const_cast<char*>(folder.c_str());
    options.use_zip64 = LXW_TRUE;
    std::unique_ptr<lxw_workbook, WorkbookCloser> book(workbook_new_opt(fileName.c_str(), &options));
    if (!book)
        return false;
    lxw_doc_properties properties{};
    const std::string title = "求人情報 " + sheetName;
    properties.title = const_cast<char*>(title.c_str());
    properties.created = std::chrono::system_clock::to_time_t(created);
    workbook_set_properties(book.get(), &properties);
    const bool written = WriteSheet(book.get(), sheetName, rows[1], rows, 2);
    const lxw_error closed = workbook_close(book.release());
    return written && closed == LXW_NO_ERROR;
}

} // namespace

std::string WorkbookSheetName(const SearchConditions& conditions)
{
    QStringList parts;
    for (const int prefecture : {conditions.prefecture1, conditions.prefecture2, conditions.prefecture3}) {
        if (prefecture > 0 && prefecture <= kPrefectureCount)
            parts << QString::fromUtf8(PrefectureNames()[static_cast<size_t>(prefecture - 1)]);
    }
    parts << ShiftJisToQString(conditions.cityNames).simplified();
    if (conditions.occupation > 0 && conditions.occupation <= kJobTypeCount)
        parts << QString::fromUtf8(JobTypeNames()[static_cast<size_t>(conditions.occupation - 1)]);
    parts << ShiftJisToQString(conditions.freeWords).simplified();
    parts.removeAll(QString());
    QString name = parts.join(QLatin1Char(' '));
    // What a sheet's name may not hold, and its quote at either end.
    for (const QChar refused : QStringLiteral("[]:*?/\\"))
        name.replace(refused, QLatin1Char(' '));
    QList<uint> characters = name.simplified().toUcs4();
    if (characters.size() > kSheetNameLimit)
        characters.resize(kSheetNameLimit);
    name = QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), characters.size());
    while (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\''))
           || name.endsWith(QLatin1Char(' ')))
        name = name.startsWith(QLatin1Char('\'')) ? name.mid(1) : name.chopped(1);
    return name.isEmpty() ? std::string("求人一覧") : name.toStdString();
}

std::string JournalPreamble(const SearchConditions& conditions)
{
    return CsvQuoted(WorkbookSheetName(conditions));
}

bool WriteWorkbookFromJournal(const std::filesystem::path& journal, const std::filesystem::path& workbook,
                              std::chrono::system_clock::time_point created)
{
    // Of its own process: another one may be making the same workbook.
    std::filesystem::path unfinished = workbook;
    unfinished += ".part-" + std::to_string(QCoreApplication::applicationPid());
    try {
        if (WriteWorkbookAs(journal, unfinished, created)) {
            std::filesystem::rename(unfinished, workbook);
            MarkCaughtUp(journal, workbook);
            return true;
        }
    } catch (...) {
        // A path the system cannot name, a full disk: no workbook, an
        // earlier one kept.
    }
    std::error_code error;
    std::filesystem::remove(unfinished, error);
    return false;
}

std::unique_ptr<QLockFile> LockJournal(const std::filesystem::path& workbook)
{
    auto lock = std::make_unique<QLockFile>(PathToQString(JournalPath(workbook)) + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // stale only when its process has gone
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}

JournalState JournalStateOf(const std::filesystem::path& workbook)
{
    std::error_code error;
    const auto journalTime = std::filesystem::last_write_time(JournalPath(workbook), error);
    if (error)
        return JournalState::None;
    const auto workbookTime = std::filesystem::last_write_time(workbook, error);
    if (error || journalTime > workbookTime)
        return JournalState::WorkbookBehind;
    return journalTime == workbookTime ? JournalState::WorkbookCurrent : JournalState::WorkbookEdited;
}

bool CatchUpWorkbook(const std::filesystem::path& workbook, std::chrono::system_clock::time_point created)
{
    // A run still writing the journal makes its workbook itself.
    const std::unique_ptr<QLockFile> lock = LockJournal(workbook);
    if (!lock || JournalStateOf(workbook) != JournalState::WorkbookBehind)
        return true;
    return WriteWorkbookFromJournal(JournalPath(workbook), workbook, created);
}

void CatchUpInterruptedWorkbooks(const std::filesystem::path& history, std::chrono::system_clock::time_point now)
{
    for (const std::filesystem::path& file : InterruptedRunFiles(history)) {
        try {
            if (OutputFormatForPath(file) == OutputFormat::Workbook)
                CatchUpWorkbook(file, now);
        } catch (...) {
            // A name the system cannot take: that workbook stays as it is.
        }
    }
}

} // namespace kenmori
