// The general rule, which most slots use, its variants that tidy the value
// further, and the list rule for cells that hold one item per line.

#include "pages/IndustryCategory.h"
#include "pages/SlotRules.h"
#include "pages/ValueText.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <utility>

namespace kenmori {

// A no-break space that ends a block is no part of the value.
static std::string WithoutTrailingSpaceReference(std::string text)
{
    while (text.size() >= 6 && SameTextIgnoringCase(std::string_view(text).substr(text.size() - 6), "&nbsp;"))
        text = TrimText(std::string_view(text).substr(0, text.size() - 6));
    return text;
}

static std::string GeneralLineText(const RowLine& line)
{
    // Captions of sub-cells that only repeat what the row's label says.
    static const std::string kRepeatedCaptions[] = {Sjis("転勤の可能性の有無"), Sjis("マイカー通勤"),
                                                    Sjis("就業形態")};
    std::string text = line.text();
    for (const std::string& caption : kRepeatedCaptions) {
        if (line.hasCaption(caption))
            text = line.value;
    }
    return WithoutTrailingSpaceReference(std::move(text));
}

// Lines after a <br> continue the line before without a space; other lines
// are joined with one.
static std::string GeneralValue(const LineList& lines)
{
    std::string acc;
    for (size_t at = 0; at < lines.size(); ++at) {
        const std::string text = GeneralLineText(lines[at]);
        if (at == 0 || lines[at].afterBreak)
            acc += text;
        else
            AppendWithSpace(acc, text);
    }
    return acc;
}

std::string IndustryNameOf(const LineList& lines)
{
    return IndustryLookupName(GeneralValue(lines));
}

static void StoreTrimmed(std::string value, int slot, JobRecord& record)
{
    TrimInPlace(value);
    record[static_cast<size_t>(slot)] = std::move(value);
}

void GeneralRule(const LineList& lines, int slot, JobRecord& record)
{
    StoreTrimmed(GeneralValue(lines), slot, record);
}

// "〒160-0023 東京都..." is postal code and address; without a space neither
// part can be told, so both stay as they are.
void PostalAddressRule(const LineList& lines, int, JobRecord& record)
{
    const std::string text = TrimText(NormalizeDigitsAndDashes(GeneralValue(lines)));
    const int space = FindText(" ", text);
    if (space == 0)
        return;
    record[kSlotPostalCode] = TrimText(text.substr(0, static_cast<size_t>(space) - 1));
    record[kSlotAddress] = TrimText(text.substr(static_cast<size_t>(space)));
}

// Without the link captions beside the title, older and newer pages.
void OccupationRule(const LineList& lines, int slot, JobRecord& record)
{
    static const std::string kCaption = Sjis("職種解説");
    static const std::string kNewerCaption = Sjis("job tagについて");
    StoreTrimmed(RemoveAllText(RemoveAllText(GeneralValue(lines), kCaption), kNewerCaption), slot, record);
}

// Times, days and sums: digits and dashes half-width, the wave dash restored.
void FigureRule(const LineList& lines, int slot, JobRecord& record)
{
    StoreTrimmed(NormalizeDigitsAndDashes(WaveDashRestored(GeneralValue(lines))), slot, record);
}

// Choices the page separates with full-width commas, separated with "、".
void ChoiceRule(const LineList& lines, int slot, JobRecord& record)
{
    static const std::string kFullWidthComma = Sjis("，");
    static const std::string kIdeographicComma = Sjis("、");
    std::string acc = GeneralValue(lines);
    ReplaceAllInPlace(acc, kFullWidthComma, kIdeographicComma);
    StoreTrimmed(std::move(acc), slot, record);
}

// One item per line, joined with "、"; a line after a <br> continues its item.
void ListRule(const LineList& lines, int slot, JobRecord& record)
{
    static const std::string kItemSeparator = Sjis("、");
    std::string acc;
    for (size_t at = 0; at < lines.size(); ++at) {
        const std::string text = lines[at].text();
        if (at == 0 || lines[at].afterBreak)
            acc += text;
        else
            JoinWith(acc, text, kItemSeparator);
    }
    static const std::string kFullWidthComma = Sjis("，");
    acc = ReplaceAllText(WaveDashRestored(acc), kFullWidthComma, kItemSeparator);
    record[static_cast<size_t>(slot)] = TrimText(NormalizeDigitsAndDashes(acc));
}

} // namespace kenmori
