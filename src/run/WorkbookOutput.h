#pragma once
// The run's list as an Excel workbook. Its rows are kept in a journal while
// the run writes them (a UTF-8 CSV beside the workbook, see OutputFormat.h);
// the workbook is made from the journal whenever the run ends, and after a
// kill at the next start. Every cell is text, so a spreadsheet never turns a
// corporate number into 2.43E+12 or a code into a date.

#include "run/RunRecords.h"

#include <QLockFile>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace kenmori {

// The sheet's name for a search (UTF-8): its prefectures, cities,
// occupation and words, at most 31 characters, none that a sheet name may
// not hold; "求人一覧" when the conditions name none.
std::string WorkbookSheetName(const SearchConditions& conditions);

// The journal's line before its header: the sheet's name, quoted.
std::string JournalPreamble(const SearchConditions& conditions);

// Makes the workbook from the journal: one sheet, the header row bold and
// frozen, an autofilter over the data, column widths fitted to the header
// and the first rows, the two address fields as links, title and creation
// time. A line cut off by a kill is left out. It is written beside the
// workbook and then takes its place, so a failure leaves an earlier
// workbook as it was. Afterwards the journal bears the workbook's time.
bool WriteWorkbookFromJournal(const std::filesystem::path& journal, const std::filesystem::path& workbook,
                              std::chrono::system_clock::time_point created);

// Held while a run writes the journal, so that another program's start
// leaves its workbook alone; none when another process holds it. The lock
// of a killed process counts for nothing.
std::unique_ptr<QLockFile> LockJournal(const std::filesystem::path& workbook);

enum class JournalState {
    None,            // no journal beside the workbook
    WorkbookCurrent, // the workbook holds the journal's rows
    WorkbookBehind,  // rows were added after it was made (a kill), or it is missing
    WorkbookEdited,  // it changed after it was made: another program saved it
};
JournalState JournalStateOf(const std::filesystem::path& workbook);

// At a start: a workbook whose run was killed is made from its journal.
// False when that was needed and failed.
bool CatchUpWorkbook(const std::filesystem::path& workbook, std::chrono::system_clock::time_point created);

// At a program's start: the workbooks of the runs the history knows as
// interrupted, made from their journals where a kill left them behind.
void CatchUpInterruptedWorkbooks(const std::filesystem::path& history, std::chrono::system_clock::time_point now);

} // namespace kenmori
