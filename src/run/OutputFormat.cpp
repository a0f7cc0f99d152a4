#include "run/OutputFormat.h"

#include "run/CsvOutput.h"
#include "run/WorkbookOutput.h"

#include <QString>

#include <array>
#include <fstream>
#include <utility>

namespace kenmori {

namespace {

constexpr std::array<std::pair<OutputFormat, std::string_view>, 3> kNames{{
    {OutputFormat::ShiftJisCsv, "sjis"},
    {OutputFormat::Utf8Csv, "utf8"},
    {OutputFormat::Workbook, "xlsx"},
}};

} // namespace

std::string_view OutputFormatName(OutputFormat format)
{
    for (const auto& [known, name] : kNames) {
        if (known == format)
            return name;
    }
    return kNames[0].second;
}

std::optional<OutputFormat> OutputFormatNamed(std::string_view name)
{
    for (const auto& [format, known] : kNames) {
        if (known == name)
            return format;
    }
    return std::nullopt;
}

OutputFormat OutputFormatForPath(const std::filesystem::path& path)
{
    const QString extension = QString::fromStdU16String(path.extension().u16string());
    return extension.compare(QLatin1String(".xlsx"), Qt::CaseInsensitive) == 0 ? OutputFormat::Workbook
                                                                               : OutputFormat::ShiftJisCsv;
}

OutputFormat OutputFormatOfFile(const std::filesystem::path& path)
{
    if (OutputFormatForPath(path) == OutputFormat::Workbook)
        return OutputFormat::Workbook;
    std::ifstream in(path, std::ios::binary);
    std::string start(kUtf8ByteOrderMark.size(), '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    return in && start == kUtf8ByteOrderMark ? OutputFormat::Utf8Csv : OutputFormat::ShiftJisCsv;
}

std::filesystem::path JournalPath(const std::filesystem::path& workbook)
{
    std::filesystem::path journal = workbook;
    journal += ".journal";
    return journal;
}

std::filesystem::path LineFilePath(const std::filesystem::path& output, OutputFormat format)
{
    return format == OutputFormat::Workbook ? JournalPath(output) : output;
}

TextEncoding LineEncoding(OutputFormat format)
{
    return format == OutputFormat::ShiftJisCsv ? TextEncoding::ShiftJis : TextEncoding::Utf8;
}

GoingOn CheckGoingOn(const std::filesystem::path& output, OutputFormat format, const SearchConditions& conditions)
{
    if (format != OutputFormat::Workbook)
        return CanAppendTo(output, conditions.outputFields, LineEncoding(format)) ? GoingOn::Possible
                                                                                  : GoingOn::OtherFields;
    std::error_code error;
    switch (JournalStateOf(output)) {
    case JournalState::WorkbookEdited: return GoingOn::WorkbookEdited;
    case JournalState::None:
        // Without its journal, a workbook's lines so far would be lost.
        return std::filesystem::exists(output, error) ? GoingOn::JournalMissing : GoingOn::Possible;
    case JournalState::WorkbookCurrent:
    case JournalState::WorkbookBehind: break;
    }
    return CanAppendTo(JournalPath(output), conditions.outputFields, TextEncoding::Utf8,
                       JournalPreamble(conditions))
        ? GoingOn::Possible
        : GoingOn::OtherFields;
}

} // namespace kenmori
