#include "pages/DetailPageScan.h"

#include "text/CodePage932.h"
#include "pages/DetailLabels.h"
#include "pages/FieldRules.h"
#include "pages/LineOperations.h"
#include "text/TextUtils.h"
#include "pages/PostingSheet.h"

static bool IsDeletedPostingMessage(const PageText& page, int k)
{
    static const std::string kNoMatchingPosting = Sjis("該当する情報は");
    return RawLineContains(page, k, "msg_E\"") && ContainsText(Cleaned(LineText(page, k)), kNoMatchingPosting);
}

static void ApplyLabelRow(const RuleInput& in, int k, bool formSeen, DetailPageScan& scan)
{
    const std::string_view a = LineText(in.lines, k);
    static const std::string kNameWithheld = Sjis("事業所の意向により公開していません");
    if (ContainsText(a, kNameWithheld))
        scan.record[kSlotCompanyName] = Sjis("（事業所名非公開）");
    const int slot = RowLabelSlot(a);
    // Rows above the form belong to the page's summary, not to the posting.
    if (slot != -1 && formSeen)
        ApplySlotRule(slot, k, in, scan.record, scan.industryNames);
}

DetailPageScan ScanDetailPage(const PageLines& lines, const StopRequested& stopRequested)
{
    DetailPageScan scan;
    const PageText page(lines);
    const RuleInput in{page, stopRequested};
    bool formSeen = false;
    for (int k = 0; k < page.size(); ++k) {
        if (HeadIs(page, k, "<p ")) {
            if (IsDeletedPostingMessage(page, k)) {
                scan.record[kSlotJobNumber] = Sjis("（削除済み）");
                break;
            }
        } else if (HeadIs(page, k, "<in")) {
            if (RawLineContains(page, k, "ID_kjhyoKjKbn") && scan.postingSheetQuery.empty()) {
                scan.postingSheetQuery = PostingSheetQueryAt(page, k, stopRequested);
                formSeen = true;
            }
        } else if (IsLabelLine(page, k)) {
            ApplyLabelRow(in, k, formSeen, scan);
        } else if (HeadIs(page, k, "<tr") && RawLineContains(page, k, "kyujin_head")) {
            break;
        }
        if (in.stopAsked())
            break;
    }
    return scan;
}
