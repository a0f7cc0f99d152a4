// Rows of the working conditions whose cells need more than the general
// rule: age, total wage, holidays and licences.

#include "pages/SlotRules.h"
#include "pages/ValueText.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

namespace kenmori {

// The limit, then its range; the reason after them.
void AgeRule(const LineList& lines, int, JobRecord& record)
{
    static const std::string kLimitCaption = Sjis("年齢制限");
    static const std::string kRangeCaption = Sjis("年齢制限範囲");
    static const std::string kGroundCaption = Sjis("年齢制限該当事由");
    static const std::string kReasonCaption = Sjis("年齢制限の理由");
    std::string acc;
    std::string reason;
    bool reasonSeen = false;
    for (size_t at = 0; at < lines.size(); ++at) {
        const RowLine& line = lines[at];
        const bool isReason = line.hasCaption(kGroundCaption) || line.hasCaption(kReasonCaption);
        if (isReason || at > 1) {
            JoinWith(reason, isReason ? line.value : line.text(), " ");
            reasonSeen = true;
        } else if (at == 0) {
            acc = line.textWithout(kLimitCaption);
        } else {
            AppendWithSpace(acc, WaveDashRestored(line.textWithout(kRangeCaption)));
        }
    }
    record[kSlotAge] = TrimText(acc);
    if (reasonSeen)
        record[kSlotAgeLimitReason] = TrimText(reason);
}

void TotalWageRule(const LineList& lines, int slot, JobRecord& record)
{
    std::string acc;
    if (!lines.empty())
        acc = WaveDashRestored(lines[0].text());
    if (lines.size() > 1)
        AppendWithSpace(acc, WaveDashRestored(lines[1].text()));
    record[static_cast<size_t>(slot)] = TrimText(acc);
}

// The holidays, with the two-day-weekend sub-cell kept apart for slot 38.
void HolidayRule(const LineList& lines, int, JobRecord& record)
{
    static const std::string kWeekendCaption = Sjis("週休二日制");
    static const std::string kSeparator = Sjis("、");
    std::string acc;
    std::string weekend;
    for (size_t at = 0; at < lines.size(); ++at) {
        const RowLine& line = lines[at];
        if (at == 0)
            acc = line.text();
        else if (line.afterBreak)
            AppendWithSpace(acc, line.text());
        else if (line.hasCaption(kWeekendCaption))
            weekend = line.value;
        else
            JoinWith(acc, line.text(), kSeparator);
    }
    record[kSlotHolidays] = TrimText(acc);
    record[kSlotTwoDayWeekend] = TrimText(weekend);
}

void LicenceRule(const LineList& lines, int slot, JobRecord& record)
{
    static const std::string kLicenceCaption = Sjis("免許・資格名");
    std::string acc;
    for (size_t at = 0; at < lines.size(); ++at) {
        if (at == 0)
            acc = lines[at].textWithout(kLicenceCaption);
        else
            AppendWithSpace(acc, lines[at].text());
    }
    record[static_cast<size_t>(slot)] = TrimText(NormalizeDigitsAndDashes(WaveDashRestored(acc)));
}

} // namespace kenmori
