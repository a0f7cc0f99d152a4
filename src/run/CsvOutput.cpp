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
// In UTF-8 no byte of a multi-byte character is ASCII, so bytes may be
// read one by one.
bool StartsDoubleByte(std::string_view text, size_t pos, TextEncoding encoding)
{
    return encoding == TextEncoding::ShiftJis && IsShiftJisLeadByte(static_cast<unsigned char>(text[pos]))
        && pos + 1 < text.size();
}

// The ideographic space in each encoding.
std::string_view IdeographicSpace(TextEncoding encoding)
{
    return encoding == TextEncoding::ShiftJis ? "\x81\x40" : "\xE3\x80\x80";
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
void BlanksToSpaces(std::string_view text, TextEncoding encoding, std::string& out)
{
    const std::string_view ideographicSpace = IdeographicSpace(encoding);
    out.resize(text.size());
    char* to = out.data();
    for (size_t pos = 0; pos < text.size();) {
        if (text.substr(pos).starts_with(ideographicSpace)) {
            *to++ = ' ';
            pos += ideographicSpace.size();
        } else if (StartsDoubleByte(text, pos, encoding)) {
            *to++ = text[pos];
            *to++ = text[pos + 1];
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
std::string_view Prepared(std::string_view value, TextEncoding encoding, std::string& scratch)
{
    // Without an "&" and without the ideographic space anywhere, there is
    // nothing to change (most values).
    if (value.find('&') == std::string_view::npos
        && value.find(IdeographicSpace(encoding)) == std::string_view::npos)
        return value;
    BlanksToSpaces(value, encoding, scratch);
    // After the site's own space references, before runs of spaces are
    // shortened: no reference reaches a spreadsheet cell.
    if (scratch.find('&') != std::string::npos)
        scratch = DecodeCharacterReferences(scratch, encoding);
    return scratch;
}

// Writes text with its runs of spaces shortened, and with every double
// quote doubled when quoted, from to on; gives the end. Writes at most
// twice the length of text.
char* WriteShortened(std::string_view text, TextEncoding encoding, bool quoted, char* to)
{
    for (size_t pos = 0; pos < text.size();) {
        if (StartsDoubleByte(text, pos, encoding)) {
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
void AppendQuoted(std::string& line, std::string_view value, bool normalize, TextEncoding encoding,
                  std::string& scratch)
{
    // Trimming before the runs of spaces are shortened gives what trimming
    // after would: only runs inside the text are shortened.
    if (normalize)
        value = TrimmedView(Prepared(value, encoding, scratch));
    if (!line.empty())
        line += ',';
    const size_t start = line.size();
    line.resize(start + 2 * value.size() + 2);
    char* to = line.data() + start;
    *to++ = '"';
    if (normalize) {
        to = WriteShortened(value, encoding, true, to);
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

CsvOutputFile::CsvOutputFile(TextEncoding encoding, std::string preamble)
    : m_encoding(encoding)
    , m_preamble(std::move(preamble))
{
}

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
    return writeBytes(line) && writeBytes("\r\n");
}

bool CsvOutputFile::writeStart(const OutputFieldChecks& checks)
{
    return writeBytes(CsvFileStart(checks, m_encoding, m_preamble));
}

bool CsvOutputFile::writeBytes(std::string_view bytes)
{
    if (!m_stream.is_open() || m_failed)
        return false;
    m_stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
    const std::string_view text = TrimmedView(Prepared(value, TextEncoding::ShiftJis, scratch)); // as above
    std::string normalized(text.size(), '\0');
    normalized.resize(static_cast<size_t>(WriteShortened(text, TextEncoding::ShiftJis, false, normalized.data())
                                          - normalized.data()));
    return normalized;
}

std::string CsvHeaderLine(const OutputFieldChecks& checks, TextEncoding encoding)
{
    std::string line;
    std::string scratch;
    const auto& catalog = OutputFieldCatalog();
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (!checks[i])
            continue;
        const std::string name = TrimText(catalog[i]);
        AppendQuoted(line, encoding == TextEncoding::Utf8 ? ShiftJisToUtf8(name) : name, false, encoding, scratch);
    }
    return line;
}

std::string CsvDataLine(const JobRecord& record, const OutputFieldChecks& checks, TextEncoding encoding)
{
    std::string line;
    line.reserve(4096);
    std::string scratch; // one room for every field's prepared value
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (!checks[i])
            continue;
        if (encoding == TextEncoding::Utf8) {
            // A character the page wrote without a code page 932 form is a
            // reference in the record: decoded here, it is kept.
            AppendQuoted(line, ShiftJisToUtf8(record[i]), true, encoding, scratch);
        } else {
            AppendQuoted(line, record[i], true, encoding, scratch);
        }
    }
    return line;
}

std::string CsvQuoted(std::string_view value)
{
    std::string quoted;
    std::string scratch;
    AppendQuoted(quoted, value, false, TextEncoding::ShiftJis, scratch);
    return quoted;
}

std::string CsvFileStart(const OutputFieldChecks& checks, TextEncoding encoding, std::string_view preamble)
{
    std::string start = encoding == TextEncoding::Utf8 ? std::string(kUtf8ByteOrderMark) : std::string();
    if (!preamble.empty())
        start.append(preamble).append("\r\n");
    return start + CsvHeaderLine(checks, encoding) + "\r\n";
}

bool CanAppendTo(const std::filesystem::path& path, const OutputFieldChecks& checks, TextEncoding encoding,
                 std::string_view preamble)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return true;
    const std::string expected = CsvFileStart(checks, encoding, preamble);
    std::string start(expected.size(), '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    return in.gcount() == 0 || (in.gcount() == static_cast<std::streamsize>(expected.size()) && start == expected);
}

bool WriteCsvHeader(CsvOutputFile& file, const std::filesystem::path& path, const OutputFieldChecks& checks)
{
    return file.open(path) && file.writeStart(checks);
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
    if (!file.writeLine(CsvDataLine(record, conditions.outputFields, file.encoding())))
        return JobLineOutcome::WriteFailed;
    state.verdict = kVerdictLineWritten;
    return JobLineOutcome::Written;
}

} // namespace kenmori
