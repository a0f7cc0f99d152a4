#include "worker/DetailPageScan.h"

#include "site/CodePage932.h"
#include "worker/DetailLabels.h"
#include "worker/FieldRules.h"
#include "worker/LineOperations.h"
#include "worker/PostingSheet.h"

static bool IsDeletedPostingMessage(const PageLines& lines, int k)
{
    return RawLineContains(lines, k, "msg_E\"")
        && Contains(Cleaned(LineText(lines, k)), Sjis("該当する情報は"));
}

static void ApplyLabelRow(const RuleInput& in, int k, bool formSeen, DetailPageScan& scan)
{
    const std::string a = LineText(in.lines, k);
    if (Contains(a, Sjis("事業所の意向により公開していません")))
        scan.record[kSlotCompanyName] = Sjis("（事業所名非公開）");
    const int slot = FindLabelSlot(RowLabel(a));
    // Rows above the form belong to the page's summary, not to the posting.
    if (slot != -1 && formSeen)
        ApplySlotRule(slot, k, in, scan.record, scan.industryNames);
}

DetailPageScan ScanDetailPage(const PageLines& lines, const StopRequested& stopRequested)
{
    DetailPageScan scan;
    const RuleInput in{lines, stopRequested};
    bool formSeen = false;
    for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
        if (HeadIs(lines, k, "<p ")) {
            if (IsDeletedPostingMessage(lines, k)) {
                scan.record[kSlotJobNumber] = Sjis("（削除済み）");
                break;
            }
        } else if (HeadIs(lines, k, "<in")) {
            if (RawLineContains(lines, k, "ID_kjhyoKjKbn") && scan.postingSheetQuery.empty()) {
                scan.postingSheetQuery = PostingSheetQueryAt(lines, k, stopRequested);
                formSeen = true;
            }
        } else if (IsLabelLine(lines, k)) {
            ApplyLabelRow(in, k, formSeen, scan);
        } else if (HeadIs(lines, k, "<tr") && RawLineContains(lines, k, "kyujin_head")) {
            break;
        }
        if (in.stopAsked())
            break;
    }
    return scan;
}
