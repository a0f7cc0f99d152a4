#include "pages/DetailPageScan.h"

#include "pages/DetailLabels.h"
#include "pages/DetailPageParts.h"
#include "pages/FieldRules.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

namespace kenmori {

// The phrase on a row's label or its first line, where the site writes it
// in place of the name or the address.
static bool SaysNameWithheld(const LabelledRow& row)
{
    static const std::string kNameWithheld = Sjis("事業所の意向により公開していません");
    if (ContainsText(row.label, kNameWithheld))
        return true;
    const std::vector<RowLine> lines = RowLines(row);
    return !lines.empty() && ContainsText(lines.front().text(), kNameWithheld);
}

DetailPageScan ScanDetailPage(std::string_view html, const StopRequested& stopRequested)
{
    DetailPageScan scan;
    const DetailPageParts parts = ReadDetailPageParts(html);
    scan.postingSheetQuery = parts.postingSheetQuery;
    bool stopped = false;
    for (const LabelledRow& row : parts.rows) {
        // A later name row may still name the company.
        if (SaysNameWithheld(row))
            scan.record[kSlotCompanyName] = Sjis(kCompanyNameWithheld);
        // Rows above the form belong to the page's summary, not to the posting.
        if (row.belowForm)
            ApplySlotRule(FindLabelSlot(row.label), row, scan.record, scan.industryNames);
        if (stopRequested && stopRequested()) {
            stopped = true;
            break;
        }
    }
    if (parts.deleted && !stopped)
        scan.record[kSlotJobNumber] = Sjis("（削除済み）");
    return scan;
}

} // namespace kenmori
