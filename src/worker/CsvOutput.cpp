#include "worker/CsvOutput.h"

#include "site/CodePage932.h"
#include "site/TextUtils.h"

namespace {

// Quotes a value; an inner double quote is doubled so that every CSV reader
// takes the field whole.
void AppendQuoted(std::string& line, std::string_view value)
{
    if (!line.empty())
        line += ',';
    line += '"';
    line += ReplaceAllText(value, "\"", "\"\"");
    line += '"';
}

} // namespace

bool CsvOutputFile::open(const std::filesystem::path& path)
{
    m_failed = false;
    m_stream.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    return m_stream.is_open();
}

bool CsvOutputFile::writeLine(std::string_view line)
{
    if (!m_stream.is_open() || m_failed)
        return false;
    m_stream.write(line.data(), static_cast<std::streamsize>(line.size()));
    m_stream.write("\r\n", 2);
    m_stream.flush();
    m_failed = !m_stream.good();
    return !m_failed;
}

bool CsvOutputFile::close()
{
    if (!m_stream.is_open())
        return false;
    m_stream.close();
    if (m_stream.fail())
        m_failed = true;
    return !m_failed;
}

std::string NormalizeCsvValue(std::string_view value)
{
    static const std::pair<std::string_view, std::string_view> kSteps[] = {
        {"\x81\x40", " "}, // ideographic space
        {"&#x28;", " "},
        {"&#xa0;", " "},
        {"    ", " "},
        {"   ", " "},
        {"  ", " "},
        {"  ", " "},
    };
    std::string text(value);
    for (size_t step = 0; step < std::size(kSteps); ++step) {
        text = ReplaceAllText(text, kSteps[step].first, kSteps[step].second);
        // After the site's own space references, before runs of spaces are
        // shortened: no reference reaches a spreadsheet cell.
        if (kSteps[step].first == "&#xa0;")
            text = DecodeCharacterReferences(text);
    }
    return TrimText(text);
}

std::string CsvHeaderLine(const OutputFieldChecks& checks)
{
    std::string line;
    const auto& catalog = OutputFieldCatalog();
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (checks[i])
            AppendQuoted(line, TrimText(catalog[i]));
    }
    return line;
}

std::string CsvDataLine(const JobRecord& record, const OutputFieldChecks& checks)
{
    std::string line;
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (checks[i])
            AppendQuoted(line, NormalizeCsvValue(record[i]));
    }
    return line;
}

bool WriteCsvHeader(CsvOutputFile& file, const std::filesystem::path& path,
                    const OutputFieldChecks& checks)
{
    return file.open(path) && file.writeLine(CsvHeaderLine(checks));
}

JobLineOutcome WriteJobLine(CsvOutputFile& file, const JobRecord& record,
                            const SearchConditions& conditions, RunState& state)
{
    if (record[kSlotJobNumber].empty())
        return JobLineOutcome::NoJobNumber;
    if (conditions.JobSet3) {
        static const std::string kCompanyNotShown = Utf8ToShiftJis("（事業所名非公開）");
        const std::string& company = record[kSlotCompanyName];
        if (company.empty() || company == kCompanyNotShown)
            return JobLineOutcome::FilteredOut;
    }
    if (!file.writeLine(CsvDataLine(record, conditions.JobList)))
        return JobLineOutcome::WriteFailed;
    state.workerVerdict = kVerdictLineWritten;
    return JobLineOutcome::Written;
}
