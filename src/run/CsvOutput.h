#pragma once
// The run's CSV file: a header of the ticked fields, then one quoted line per
// posting, CR LF line ends. Code page 932 bytes without a byte-order mark,
// or UTF-8 with one (spreadsheet programs take the file as UTF-8 by it).

#include "run/RunRecords.h"
#include "pages/JobRecord.h"
#include "text/TextUtils.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kenmori {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

class CsvOutputFile {
public:
    // preamble: a line before the header (a workbook journal's sheet name).
    explicit CsvOutputFile(TextEncoding encoding = TextEncoding::ShiftJis, std::string preamble = {});

    // Creates or truncates the file; false when it cannot be created.
    bool open(const std::filesystem::path& path);
    // Opens the file to add lines at its end; false when it cannot be opened.
    bool openToAppend(const std::filesystem::path& path);
    // Writes line + CR LF and flushes, so a crash or a cancel keeps every
    // line written so far; false once any write has failed (a full disk).
    bool writeLine(std::string_view line);
    // The byte-order mark, preamble and header of a new file.
    bool writeStart(const OutputFieldChecks& checks);
    // False when the file was not open or a write or the close failed.
    bool close();
    bool isOpen() const { return m_stream.is_open(); }
    bool hasFailed() const { return m_failed; }
    TextEncoding encoding() const { return m_encoding; }
    const std::string& preamble() const { return m_preamble; }

private:
    bool writeBytes(std::string_view bytes);

    TextEncoding m_encoding;
    std::string m_preamble;
    std::ofstream m_stream;
    bool m_failed = false;
};

// What is written for one value: blanks and a few character references
// made spaces, runs of spaces shortened, trimmed.
std::string NormalizeCsvValue(std::string_view value);

// Lines without their line end. The UTF-8 form keeps every character of
// the page; the code page 932 form shows "?" for one it cannot hold.
std::string CsvHeaderLine(const OutputFieldChecks& checks, TextEncoding encoding = TextEncoding::ShiftJis);
std::string CsvDataLine(const JobRecord& record, const OutputFieldChecks& checks,
                        TextEncoding encoding = TextEncoding::ShiftJis);

// One field as every line quotes it, inner double quotes doubled; no
// other change.
std::string CsvQuoted(std::string_view value);

// What a new file of these fields starts with, up to its first data line.
std::string CsvFileStart(const OutputFieldChecks& checks, TextEncoding encoding, std::string_view preamble = {});

// Whether lines for these fields can be added to the file: it is missing or
// empty, or it starts as a new file of theirs would.
bool CanAppendTo(const std::filesystem::path& path, const OutputFieldChecks& checks,
                 TextEncoding encoding = TextEncoding::ShiftJis, std::string_view preamble = {});

// Opens the file and writes its start (byte-order mark, preamble, header);
// false when the file cannot be created or written.
bool WriteCsvHeader(CsvOutputFile& file, const std::filesystem::path& path, const OutputFieldChecks& checks);

enum class JobLineOutcome { Written, NoJobNumber, FilteredOut, WriteFailed };

// Writes the record unless it has no job number or the company-name filter
// drops it; a written line sets the run's verdict to "a line written".
JobLineOutcome WriteJobLine(CsvOutputFile& file, const JobRecord& record, const SearchConditions& conditions,
                            RunState& state);

} // namespace kenmori
