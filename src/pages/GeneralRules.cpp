// The general rule, which most slots use, and the list rule for cells that
// hold one item per line.

#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/IndustryCategory.h"
#include "pages/LineOperations.h"
#include "pages/SlotRules.h"

#include <optional>
#include <string_view>
#include <utility>

// Tags that stand for a space between the parts of a value.
static constexpr std::string_view kSpacedTags[] = {"</div>", "<br>"};

static std::string GeneralLabelValue(std::string_view text)
{
    // Captions of sub-cells that would otherwise read as part of the value;
    // each stands before a "</div>".
    static const std::string kCaptions[] = {"&nbsp;", Sjis("転勤の可能性の有無"), Sjis("マイカー通勤"),
                                            Sjis("就業形態")};
    const std::string_view value = AfterLabel(text);
    if (std::optional<std::string> quick = SpacedTagsStripped(value, kSpacedTags, kCaptions))
        return std::move(*quick);
    std::string v(value);
    // Each caption ends in "</div>": without one, none is there.
    if (ContainsTextIgnoringCase(v, "</div>")) {
        for (const std::string& caption : kCaptions)
            RemoveAllInPlace(v, caption + "</div>");
        ReplaceAllInPlace(v, "</div>", " ");
    }
    ReplaceAllInPlace(v, "<br>", " ");
    return Cleaned(std::move(v));
}

static std::string GeneralLineValue(std::string_view text)
{
    static const std::string kSpaceEntity[] = {"&nbsp;"};
    if (std::optional<std::string> quick = SpacedTagsStripped(text, kSpacedTags, kSpaceEntity))
        return std::move(*quick);
    std::string v(text);
    if (ContainsTextIgnoringCase(v, "</div>")) {
        ReplaceAllInPlace(v, "&nbsp;</div>", " ");
        ReplaceAllInPlace(v, "</div>", " ");
    }
    ReplaceAllInPlace(v, "<br>", " ");
    return Cleaned(std::move(v));
}

static std::string GeneralValue(const RuleInput& in, int k)
{
    std::string acc;
    ScanWindow(in, k, 0, 29, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "</div></td></tr>") || TrimmedIs(in.lines, j, "</div></table>")
            || MiddleIs(in.lines, j, "/tr") || HeadIs(in.lines, j, "<tr"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j))
            acc = GeneralLabelValue(a);
        else if (HeadIs(in.lines, j, "<br"))
            AppendText(acc, GeneralLineValue(a)); // a continuation line is glued on
        else
            AppendWithSpace(acc, GeneralLineValue(a));
        return true;
    });
    return acc;
}

std::string IndustryNameAt(const RuleInput& in, int k)
{
    return IndustryLookupName(GeneralValue(in, k));
}

// "〒160-0023 東京都..." is postal code and address; without a space neither
// part can be told, so both stay as they are.
static void StorePostalAddress(std::string_view acc, JobRecord& record)
{
    const std::string text = TrimText(NormalizeDigitsAndDashes(acc));
    const int space = FindText(" ", text);
    if (space == 0)
        return;
    record[kSlotPostalCode] = TrimText(text.substr(0, static_cast<size_t>(space) - 1));
    record[kSlotAddress] = TrimText(text.substr(static_cast<size_t>(space)));
}

void GeneralRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    std::string acc = GeneralValue(in, k);
    switch (slot) {
    case kSlotPostalCode: StorePostalAddress(acc, record); return;
    case kSlotOccupation:
        // The link captions beside the title, older and newer pages.
        {
            static const std::string kCaption = Sjis("職種解説");
            static const std::string kNewerCaption = Sjis("job tagについて");
            acc = RemoveAllText(RemoveAllText(acc, kCaption), kNewerCaption);
        }
        break;
    case kSlotWorkingHours:
    case kSlotBreakTime:
    case kSlotWorkingDays:
    case kSlotBasePay:
    case kSlotFixedAllowances:
    case kSlotFixedOvertimePay:
    case kSlotOtherAllowances:
    case kSlotWageForm:
    case kSlotWageClosingDay: acc = NormalizeDigitsAndDashes(WaveDashRestored(acc)); break;
    case kSlotInsurance:
    case kSlotCorporatePension:
    case kSlotSelectionMethod:
    case kSlotSelectionResult:
    case kSlotApplicantNotice: {
        static const std::string kFullWidthComma = Sjis("，");
        static const std::string kIdeographicComma = Sjis("、");
        ReplaceAllInPlace(acc, kFullWidthComma, kIdeographicComma);
    } break;
    default: break;
    }
    TrimInPlace(acc);
    record[static_cast<size_t>(slot)] = std::move(acc);
}

static std::string ListPiece(std::string_view text)
{
    static constexpr std::string_view kDivEnd[] = {"</div>"};
    if (std::optional<std::string> quick = SpacedTagsStripped(text, kDivEnd))
        return std::move(*quick);
    std::string piece(text);
    ReplaceAllInPlace(piece, "</div>", " ");
    return Cleaned(std::move(piece));
}

void ListRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    static const std::string kItemSeparator = Sjis("、");
    std::string acc;
    ScanWindow(in, k, 0, 19, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "<tr>") || TrimmedIs(in.lines, j, "</div></table>")
            || TrimmedIs(in.lines, j, "</div></td></tr>"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j))
            acc = ListPiece(AfterLabel(a));
        else if (HeadIs(in.lines, j, "<br"))
            AppendText(acc, ListPiece(a));
        else
            JoinWith(acc, ListPiece(a), kItemSeparator);
        return true;
    });
    static const std::string kFullWidthComma = Sjis("，");
    acc = ReplaceAllText(WaveDashRestored(acc), kFullWidthComma, kItemSeparator);
    record[static_cast<size_t>(slot)] = TrimText(NormalizeDigitsAndDashes(acc));
}
