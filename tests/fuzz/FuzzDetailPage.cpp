// A detail page of any bytes, behind 12 bytes of output-field ticks: the
// whole extraction of one posting and the CSV line written from it.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "run/CsvOutput.h"
#include "pages/DetailPageScan.h"
#include "pages/IndustryCategory.h"
#include "run/OutputFieldCatalog.h"
#include "pages/PostingSheet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace kenmori;

static constexpr std::size_t kTickBytes = (kOutputFieldCount + 7) / 8;
static constexpr std::string_view kBaseAddress = "http://127.0.0.1:8080";

// The unquoted fields of a line in which every field is quoted and an inner
// quote is doubled; nothing when the line is not made that way.
static std::optional<std::vector<std::string>> QuotedFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (!fields.empty() && line[pos++] != ',')
            return std::nullopt;
        if (pos >= line.size() || line[pos++] != '"')
            return std::nullopt;
        std::string field;
        while (true) {
            if (pos >= line.size())
                return std::nullopt;
            const char byte = line[pos++];
            if (byte != '"') {
                field += byte;
            } else if (pos < line.size() && line[pos] == '"') {
                field += '"';
                ++pos;
            } else {
                break;
            }
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

// The line holds exactly the ticked fields, each value as normalised.
static void CheckLine(const std::string& line, const std::vector<std::string>& values,
                      const OutputFieldChecks& checks)
{
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    const auto fields = QuotedFields(line);
    FUZZ_CHECK(fields.has_value());
    const auto ticked = static_cast<std::size_t>(std::count(checks.begin(), checks.end(), true));
    FUZZ_CHECK(fields->size() == ticked);
    std::size_t next = 0;
    for (int i = 0; i < kOutputFieldCount; ++i) {
        if (checks[i])
            FUZZ_CHECK((*fields)[next++] == values[static_cast<std::size_t>(i)]);
    }
}

static void CheckNormalizedValue(std::string_view value, const std::string& normalized)
{
    FUZZ_CHECK(normalized.size() <= value.size());
    FUZZ_CHECK(TrimText(normalized) == normalized);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kTickBytes)
        return 0;
    OutputFieldChecks checks{};
    for (int i = 0; i < kOutputFieldCount; ++i)
        checks[i] = (data[i / 8] >> (i % 8)) & 1;
    const std::string_view page = InputBytes(data + kTickBytes, size - kTickBytes);

    DetailPageScan scan = ScanDetailPage(page, {});
    // Every industry name is known, so the industry slots get filled too.
    static const std::string kIndustryAnswer = Sjis("製造業,09,食料品製造業,091");
    for (const std::string& name : scan.industryNames) {
        FUZZ_CHECK(!name.empty());
        StoreIndustryCategory(kIndustryAnswer, name, scan.record);
    }
    FUZZ_CHECK(scan.record[kSlotPostingSheetUrl].empty());
    FUZZ_CHECK(scan.record[kSlotPageUrl].empty());
    // The two addresses, as the extraction adds them after the scan.
    if (!scan.postingSheetQuery.empty())
        scan.record[kSlotPostingSheetUrl] = PostingSheetUrl(kBaseAddress, scan.postingSheetQuery);
    scan.record[kSlotPageUrl] = std::string(kBaseAddress) + "/kensaku/GECA110010.do?kJNo=13010-00000001";

    std::vector<std::string> values;
    for (const std::string& value : scan.record) {
        values.push_back(NormalizeCsvValue(value));
        CheckNormalizedValue(value, values.back());
    }
    CheckLine(CsvDataLine(scan.record, checks), values, checks);
    OutputFieldChecks all;
    all.fill(true);
    CheckLine(CsvDataLine(scan.record, all), values, all);

    std::vector<std::string> names;
    for (const std::string& name : OutputFieldCatalog())
        names.push_back(TrimText(name));
    CheckLine(CsvHeaderLine(checks), names, checks);

    // A stop asked for at once ends the scan after the first row.
    ScanDetailPage(page, [] { return true; });
    return 0;
}
