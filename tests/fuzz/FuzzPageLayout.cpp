// A page of any bytes through the layout step: what comes out is UTF-8 in
// whole lines, every tag stands whole on one line, the quick way through
// regular markup gives what libxml2's parser gives, and the readers take it.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "text/CodePage932.h"
#include "pages/DetailPageScan.h"
#include "pages/ListPageScan.h"
#include "pages/PageLayout.h"
#include "pages/PageLines.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Text between tags holds no "<" or ">": each tag opens and closes on its line.
void CheckTagsWhole(std::string_view line)
{
    bool inTag = false;
    for (const char c : line) {
        if (c == '<') {
            FUZZ_CHECK(!inTag);
            inTag = true;
        } else if (c == '>') {
            FUZZ_CHECK(inTag);
            inTag = false;
        }
    }
    FUZZ_CHECK(!inTag);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page = InputBytes(data, size);
    const std::string normalized = NormalizePageLayout(page);
    FUZZ_CHECK(normalized == NormalizePageLayoutByParser(page));
    FUZZ_CHECK(normalized.empty() || normalized.back() == '\n');
    FUZZ_CHECK(normalized.find_first_of(std::string_view("\r\0", 2)) == std::string::npos);
    const QByteArray bytes(normalized.data(), static_cast<qsizetype>(normalized.size()));
    FUZZ_CHECK(QString::fromUtf8(bytes).toUtf8() == bytes);

    const PageLines lines = SplitPageLines(normalized);
    for (const std::string& line : lines) {
        FUZZ_CHECK(!line.empty());
        CheckTagsWhole(line);
    }
    ScanDetailPage(lines, {});
    FUZZ_CHECK(ScanHitCount(lines, {}).totalCount >= 0);
    ScanDetailLinks(lines, "http://127.0.0.1");
    return 0;
}
