#pragma once
// The run's CSV file: a header of the ticked fields, then one quoted line per
// posting. Code page 932 bytes, CR LF line ends, no byte-order mark.

#include "run/RunRecords.h"
#include "pages/JobRecord.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kenmori {

class CsvOutputFile {
public:
    // Creates or truncates the file; false when it cannot be created.
    bool open(const std::filesystem::path& path);
    // Opens the file to add lines at its end; false when it cannot be opened.
    bool openToAppend(const std::filesystem::path& path);
    // Writes line + CR LF and flushes, so a crash or a cancel keeps every
    // line written so far; false once any write has failed (a full disk).
    bool writeLine(std::string_view line);
    // False when the file was not open or a write or the close failed.
    bool close();
    bool isOpen() const { return m_stream.is_open(); }
    bool hasFailed() const { return m_failed; }

private:
    std::ofstream m_stream;
    bool m_failed = false;
};

// What is written for one value: blanks and a few character references
// made spaces, runs of spaces shortened, trimmed.
std::string NormalizeCsvValue(std::string_view value);

std::string CsvHeaderLine(const OutputFieldChecks& checks);
std::string CsvDataLine(const JobRecord& record, const OutputFieldChecks& checks);

// Whether lines for these fields can be added to the file: it is missing or
// empty, or its header is theirs.
bool CanAppendTo(const std::filesystem::path& path, const OutputFieldChecks& checks);

// Opens the file and writes the header line; false when the file cannot be
// created or written.
bool WriteCsvHeader(CsvOutputFile& file, const std::filesystem::path& path, const OutputFieldChecks& checks);

enum class JobLineOutcome { Written, NoJobNumber, FilteredOut, WriteFailed };

// Writes the record unless it has no job number or the company-name filter
// drops it; a written line sets the run's verdict to "a line written".
JobLineOutcome WriteJobLine(CsvOutputFile& file, const JobRecord& record, const SearchConditions& conditions,
                            RunState& state);

} // namespace kenmori
