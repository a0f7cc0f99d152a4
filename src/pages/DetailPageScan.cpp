#include "pages/DetailPageScan.h"

#include "pages/DetailLabels.h"
#include "pages/DetailPageParts.h"
#include "pages/FieldRules.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

static bool SaysNameWithheld(const LabelledRow& row)
{
    static const std::string kNameWithheld = Sjis("事業所の意向により公開していません");
    if (ContainsText(row.label, kNameWithheld))
        return true;
    for (const RowBlock& block : row.blocks) {
        if (ContainsText(block.text, kNameWithheld))
            return true;
    }
    return false;
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
