// Rows of the working conditions whose cells need more than the general
// rule: age, total wage, holidays and licences.

#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/LineOperations.h"
#include "pages/SlotRules.h"

static std::string CellText(std::string_view text)
{
    return Cleaned(ReplaceAllText(text, "</div>", " "));
}

// Limit and range on the label row and the next, the reason one line further.
void AgeRule(const RuleInput& in, int k, int, JobRecord& record)
{
    static const std::string kLimitCaption = Sjis("年齢制限</div>");
    static const std::string kReasonCaption = Sjis("年齢制限該当事由</div>");
    std::string acc = Cleaned(ReplaceAllText(AfterLabel(LineText(in.lines, k)), kLimitCaption, " "));
    if (LineExists(in.lines, k + 1))
        AppendWithSpace(acc, Cleaned(WaveDashRestored(ReplaceAllText(LineText(in.lines, k + 1), "</div>", " "))));
    record[kSlotAge] = TrimText(acc);
    if (LineExists(in.lines, k + 2))
        record[kSlotAgeLimitReason] = Cleaned(RemoveAllText(LineText(in.lines, k + 2), kReasonCaption));
}

void TotalWageRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    std::string acc = Cleaned(WaveDashRestored(AfterLabel(LineText(in.lines, k))));
    if (LineExists(in.lines, k + 1))
        AppendWithSpace(acc, WaveDashRestored(Cleaned(LineText(in.lines, k + 1))));
    record[static_cast<size_t>(slot)] = TrimText(acc);
}

// The holidays, with the two-day-weekend sub-cell kept apart for slot 38.
void HolidayRule(const RuleInput& in, int k, int, JobRecord& record)
{
    static const std::string kWeekendCaption = Sjis("週休二日制</div>");
    static const std::string kSeparator = Sjis("、");
    std::string acc;
    std::string weekend;
    ScanWindow(in, k, 0, 19, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "</div></td></tr>") || TrimmedIs(in.lines, j, "</div></table>"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j))
            acc = CellText(AfterLabel(a));
        else if (HeadIs(in.lines, j, "<br"))
            AppendWithSpace(acc, Cleaned(a));
        else if (ContainsText(a, kWeekendCaption))
            weekend = CellText(RemoveAllText(a, kWeekendCaption));
        else
            JoinWith(acc, CellText(a), kSeparator);
        return true;
    });
    record[kSlotHolidays] = TrimText(acc);
    record[kSlotTwoDayWeekend] = TrimText(weekend);
}

void LicenceRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    static const std::string kLicenceCaption = Sjis("免許・資格名</div>");
    std::string acc;
    ScanWindow(in, k, 0, 19, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "<tr>") || TrimmedIs(in.lines, j, "</div></div></div></td></tr>"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j))
            acc = CellText(RemoveAllText(AfterLabel(a), kLicenceCaption));
        else
            AppendWithSpace(acc, CellText(a));
        return true;
    });
    record[static_cast<size_t>(slot)] = TrimText(NormalizeDigitsAndDashes(WaveDashRestored(acc)));
}
