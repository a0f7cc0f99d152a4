#pragma once
// Where a field's text comes from: every piece of every field the rules fill
// must stand in the text of the row that filled it. A reader that reaches
// past its row, or keeps markup, breaks this.

#include "pages/DetailLabels.h"
#include "pages/DetailPageParts.h"
#include "pages/DetailPageScan.h"
#include "pages/ValueText.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// Text compared as the rules leave it: width-normalised, wave dashes and
// commas as stored, without blanks.
inline std::string ComparableText(std::string_view sjis)
{
    static const std::string kFullWidthComma = Sjis("，");
    static const std::string kIdeographicComma = Sjis("、");
    static const std::string kIdeographicSpace = Sjis("　");
    const std::string text = NormalizeDigitsAndDashes(
        ReplaceAllText(WaveDashRestored(sjis), kFullWidthComma, kIdeographicComma));
    return RemoveAllText(RemoveAllText(text, " "), kIdeographicSpace);
}

// The same without the link captions that the rules take out of a value's
// middle, which joins the text around them.
inline std::string ComparableTextWithoutLinkCaptions(std::string_view sjis)
{
    static const std::string kLinkCaptions[] = {Sjis("職種解説"), Sjis("jobtagについて"), Sjis("地図表示")};
    std::string text = ComparableText(sjis);
    for (const std::string& caption : kLinkCaptions)
        text = RemoveAllText(text, caption);
    return text;
}

// The pieces (split at blanks and "、") of the page's fields that do not
// stand in their own row's text, one "slot N: piece" a line (UTF-8); "" when
// every piece does.
inline std::string FieldPiecesOutsideTheirRows(std::string_view html)
{
    static const std::string kIdeographicComma = Sjis("、");
    const DetailPageParts parts = ReadDetailPageParts(html);
    // The rows of each slot: a later row wins, but only for what it fills.
    std::map<int, std::vector<std::string>> rowTexts;
    for (const LabelledRow& row : parts.rows) {
        if (!row.belowForm)
            continue;
        std::string text;
        for (const RowBlock& block : row.blocks)
            text += block.text;
        rowTexts[FindLabelSlot(row.label)].push_back(ComparableText(text));
        rowTexts[FindLabelSlot(row.label)].push_back(ComparableTextWithoutLinkCaptions(text));
    }
    // Slots filled by the rule of another slot's row.
    const std::map<int, int> filledBy = {{4, 3}, {8, 7}, {10, 9}, {22, 21}, {38, 37}, {48, 47}, {86, 9}, {87, 9}};
    const JobRecord record = ScanDetailPage(html, {}).record;
    std::string outside;
    for (int slot = 0; slot <= 91; ++slot) {
        const std::string& value = record[static_cast<size_t>(slot)];
        // The industry slots come from the reference database, the two
        // markers from the program.
        if (value.empty() || (slot >= 73 && slot <= 75) || value == Sjis("（削除済み）")
            || value == Sjis("（事業所名非公開）"))
            continue;
        const int owner = !rowTexts.contains(slot) && filledBy.contains(slot) ? filledBy.at(slot) : slot;
        std::vector<std::string> pieces;
        SplitText(ReplaceAllText(value, kIdeographicComma, " "), " ", pieces);
        for (const std::string& piece : pieces) {
            const std::string comparable = ComparableText(piece);
            const std::vector<std::string>& texts = rowTexts[owner];
            if (comparable.empty())
                continue;
            if (std::none_of(texts.begin(), texts.end(),
                             [&](const std::string& text) { return ContainsText(text, comparable); }))
                outside += "slot " + std::to_string(slot) + ": " + ShiftJisToUtf8(piece) + "\n";
        }
    }
    return outside;
}

} // namespace kenmori
