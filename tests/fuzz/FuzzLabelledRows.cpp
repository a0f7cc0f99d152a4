// A detail page of any bytes, read into labelled rows and fields: every block
// is trimmed text, and every piece of every field stands in its own row.

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "pages/DetailPageParts.h"
#include "support/RowOrigin.h"
#include "text/TextUtils.h"

#include <cstddef>
#include <cstdio>
#include <cstdint>

using namespace kenmori;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view page = InputBytes(data, size);
    const DetailPageParts parts = ReadDetailPageParts(page);
    for (const LabelledRow& row : parts.rows) {
        FUZZ_CHECK(TrimText(row.label) == row.label);
        for (const RowBlock& block : row.blocks) {
            FUZZ_CHECK(!block.text.empty());
            FUZZ_CHECK(TrimText(block.text) == block.text);
        }
        const std::vector<RowLine> lines = RowLines(row);
        FUZZ_CHECK(lines.size() <= row.blocks.size());
    }
    const std::string outside = FieldPiecesOutsideTheirRows(page);
    if (!outside.empty())
        std::fprintf(stderr, "Field pieces outside their rows:\n%s", outside.c_str());
    FUZZ_CHECK(outside.empty());
    return 0;
}
