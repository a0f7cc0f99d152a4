#pragma once
// The three forms a run's list can take, and the file its lines go to while
// the run writes them: the CSV file itself, or for a workbook a journal
// beside it, from which the workbook is made whenever the run ends.

#include "run/RunRecords.h"
#include "text/TextUtils.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace kenmori {

enum class OutputFormat {
    ShiftJisCsv, // what the program always wrote; the default
    Utf8Csv,     // every character of the page kept, with a byte-order mark
    Workbook,    // an Excel workbook (.xlsx), every cell text
};

// "sjis", "utf8" and "xlsx": the names kenmori-cli and km.ini use.
std::string_view OutputFormatName(OutputFormat format);
std::optional<OutputFormat> OutputFormatNamed(std::string_view name);

// A name ending in .xlsx (any case) is a workbook; any other the Shift-JIS CSV.
OutputFormat OutputFormatForPath(const std::filesystem::path& path);
// The form of a file an earlier run wrote: a workbook by its name, a CSV by
// its start (a byte-order mark for UTF-8).
OutputFormat OutputFormatOfFile(const std::filesystem::path& path);

// The journal of a workbook: its rows as a UTF-8 CSV, the sheet's name on a
// line before the header. "<workbook>.journal".
std::filesystem::path JournalPath(const std::filesystem::path& workbook);

// Where the lines go as they are written, and in which encoding.
std::filesystem::path LineFilePath(const std::filesystem::path& output, OutputFormat format);
TextEncoding LineEncoding(OutputFormat format);

// Whether an interrupted run can go on in its output file.
enum class GoingOn {
    Possible,
    OtherFields,    // the file holds lines of another choice of fields or form
    WorkbookEdited, // the workbook was saved by another program since
    JournalMissing, // the workbook's rows so far are not at hand
};
GoingOn CheckGoingOn(const std::filesystem::path& output, OutputFormat format, const SearchConditions& conditions);

} // namespace kenmori
