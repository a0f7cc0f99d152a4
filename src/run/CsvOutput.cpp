#include "run/CsvOutput.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <algorithm>
#include <fstream>

namespace kenmori {

namespace {

// Texts are read character by character, as the replacements of TextUtils
// read them: a double-byte character is taken whole, so that its trail byte
// never starts a match (a lead byte at the very end stands alone).
bool StartsDoubleByte(std::string_view text, size_t pos)
{
    return IsShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size();
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// "&#x28;" or "&#xa0;" at pos, letters without case: the site writes both
// where a plain space is meant.
bool IsSpaceReferenceAt(std::string_view text, size_t pos)
{
    if (text.size() - pos < 6 || text[pos + 1] != '#' || LowerAscii(text[pos + 2]) != 'x' || text[pos + 5] != ';')
        return false;
    const char high = LowerAscii(text[pos + 3]);
    const char low = text[pos + 4];
    return (high == '2' && low == '8') || (high == 'a' && low == '0');
}

// The ideographic space, "&#x28;" and "&#xa0;" made plain spaces. The
// result is never longer than text.
void BlanksToSpaces(std::string_view text, std::string& out)
{
    out.resize(text.size());
    char* to = out.data();
    for (size_t pos = 0; pos < text.size();) {
        if (StartsDoubleByte(text, pos)) {
            if (text[pos] == '\x81' && text[pos + 1] == '\x40') {
                *to++ = ' ';
            } else {
                *to++ = text[pos];
                *to++ = text[pos + 1];
            }
            pos += 2;
        } else if (text[pos] == '&' && IsSpaceReferenceAt(text, pos)) {
            *to++ = ' ';
            pos += 6;
        } else {
            *to++ = text[pos++];
        }
    }
    out.resize(static_cast<size_t>(to - out.data()));
}

// A run of n spaces after four fixed passes (four spaces to one, three to
// one, two to one, two to one again): up to 34 become one, 35 become two.
size_t ShortenedRun(size_t n)
{
    n = n / 4 + n % 4;
    n = n / 3 + n % 3;
    n = n / 2 + n % 2;
    return n / 2 + n % 2;
}

// value with its blanks made spaces and its references decoded; value
// itself when it holds neither.
std::string_view Prepared(std::string_view value, std::string& scratch)
{
    // Without an "&" and without the ideographic space's two bytes anywhere,
    // there is nothing to change (most values).
    if (value.find('&') == std::string_view::npos && value.find("\x81\x40") == std::string_view::npos)
        return value;
    BlanksToSpaces(value, scratch);
    // After the site's own space references, before runs of spaces are
    // shortened: no reference reaches a spreadsheet cell.
    if (scratch.find('&') != std::string::npos)
        scratch = DecodeCharacterReferences(scratch);
    return scratch;
}

// Writes text with its runs of spaces shortened, and with every double
// quote doubled when quoted, from to on; gives the end. Writes at most
// twice the length of text.
char* WriteShortened(std::string_view text, bool quoted, char* to)
{
    for (size_t pos = 0; pos < text.size();) {
        if (StartsDoubleByte(text, pos)) {
            *to++ = text[pos];
            *to++ = text[pos + 1];
            pos += 2;
        } else if (text[pos] == ' ') {
            size_t end = pos + 1;
            while (end < text.size() && text[end] == ' ')
                ++end;
            to = std::fill_n(to, ShortenedRun(end - pos), ' ');
            pos = end;
        } else {
            if (quoted && text[pos] == '"')
                *to++ = '"';
            *to++ = text[pos++];
        }
    }
    return to;
}

// Quotes a value; an inner double quote is doubled so that every CSV reader
// takes the field whole.
void AppendQuoted(std::string& line, std::string_view value, bool normalize, std::string& scratch)
{
    // Trimming before the runs of spaces are shortened gives what trimming
    // after would: only runs inside the text are shortened.
    if (normalize)
        value = TrimmedView(Prepared(value, scratch));
    if (!line.empty())
        line += ',';
    const size_t start = line.size();
    line.resize(start + 2 * value.size() + 2);
    char* to = line.data() + start;
    *to++ = '"';
    if (normalize) {
        to = WriteShortened(value, true, to);
    } else {
        for (const char c : value) {
            if (c == '"')
                *to++ = '"';
            *to++ = c;
        }
    }
    *to++ = '"';
    line.resize(static_cast<size_t>(to - line.data()));
}

} // namespace

bool CsvOutputFile::open(const std::filesystem::path& path)
{
    m_failed = false;
    m_stream.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    return m_stream.is_open();
}

bool CsvOutputFile::openToAppend(const std::filesystem::path& path)
{
    m_failed = false;
    m_stream.open(path, std::ios::out | std::ios::binary | std::ios::app);
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
    std::string scratch;
    const std::string_view text = TrimmedView(Prepared(value, scratch)); // as above
    std::string normalized(text.size(), '\0');
    normalized.resize(static_cast<size_t>(WriteShortened(text, false, normalized.data()) - normalized.data()));
    return normalized;
}

std::string CsvHeaderLine(const OutputFieldChecks& checks)
{
    std::string line;
    std::string scratch;
    const auto& catalog = OutputFieldCatalog();
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (checks[i])
            AppendQuoted(line, TrimText(catalog[i]), false, scratch);
    }
    return line;
}

std::string CsvDataLine(const JobRecord& record, const OutputFieldChecks& checks)
{
    std::string line;
    line.reserve(4096);
    std::string scratch; // one room for every field's prepared value
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (checks[i])
            AppendQuoted(line, record[i], true, scratch);
    }
    return line;
}

bool CanAppendTo(const std::filesystem::path& path, const OutputFieldChecks& checks)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    const std::string header = CsvHeaderLine(checks) + "\r\n";
    std::string start(header.size(), '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    return in.gcount() == 0 || (in.gcount() == static_cast<std::streamsize>(header.size()) && start == header);
}

bool WriteCsvHeader(CsvOutputFile& file, const std::filesystem::path& path, const OutputFieldChecks& checks)
{
    return file.open(path) && file.writeLine(CsvHeaderLine(checks));
}

JobLineOutcome WriteJobLine(CsvOutputFile& file, const JobRecord& record, const SearchConditions& conditions,
                            RunState& state)
{
    if (record[kSlotJobNumber].empty())
        return JobLineOutcome::NoJobNumber;
    if (conditions.namedOnly) {
        static const std::string kCompanyNotShown = Utf8ToShiftJis(kCompanyNameWithheld);
        const std::string& company = record[kSlotCompanyName];
        if (company.empty() || company == kCompanyNotShown)
            return JobLineOutcome::FilteredOut;
    }
    if (!file.writeLine(CsvDataLine(record, conditions.outputFields)))
        return JobLineOutcome::WriteFailed;
    state.verdict = kVerdictLineWritten;
    return JobLineOutcome::Written;
}

} // namespace kenmori
