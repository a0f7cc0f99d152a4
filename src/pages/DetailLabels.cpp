#include "pages/DetailLabels.h"

#include "pages/OutputSlotTable.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <QString>

#include <array>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kenmori {

const std::string& SlotLabel(int slot)
{
    static const std::array<std::string, kOutputFieldCount> kLabels = [] {
        std::array<std::string, kOutputFieldCount> labels;
        for (const OutputSlotRow& row : OutputSlotTable()) {
            if (row.label)
                labels[static_cast<size_t>(row.slot)] = Sjis(row.label);
        }
        return labels;
    }();
    static const std::string kNone;
    if (slot < 0 || slot >= kOutputFieldCount)
        return kNone;
    return kLabels[static_cast<size_t>(slot)];
}

// Lets the answer tables below be asked with a view, without a copy.
struct TransparentHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};

static int FindLabelSlotUncached(std::string_view label)
{
    // Letter case is ignored the way the system's locale compares texts: for
    // full-width, Greek and Cyrillic letters too, never across widths.
    static const std::vector<std::pair<QString, int>> kLabelTexts = [] {
        std::vector<std::pair<QString, int>> texts;
        for (int slot = 0; slot < kOutputFieldCount; ++slot) {
            if (const std::string& entry = SlotLabel(slot); !entry.empty())
                texts.emplace_back(ShiftJisToQString(entry), slot);
        }
        return texts;
    }();
    const QString text = ShiftJisToQString(label);
    // Bytes that are no code page 932 text decode to a stand-in character
    // and must not match a label that holds that character.
    if (QStringToShiftJis(text) != label)
        return -1;
    for (const auto& [labelText, slot] : kLabelTexts) {
        if (labelText.compare(text, Qt::CaseInsensitive) == 0)
            return slot;
    }
    return -1;
}

int FindLabelSlot(std::string_view label)
{
    // A page repeats few labels, and comparing by locale is slow: answers are
    // kept per thread, a bounded number of them.
    thread_local std::unordered_map<std::string, int, TransparentHash, std::equal_to<>> answers;
    if (const auto known = answers.find(label); known != answers.end())
        return known->second;
    if (answers.size() >= 1024)
        answers.clear();
    const int slot = FindLabelSlotUncached(label);
    answers.emplace(std::string(label), slot);
    return slot;
}

std::string AliasedLabel(std::string label)
{
    static const std::vector<std::pair<std::string, std::string>> kAliases = [] {
        std::vector<std::pair<std::string, std::string>> aliases;
        for (const OutputSlotRow& row : OutputSlotTable()) {
            for (const char* spelling : row.aliases) {
                if (spelling)
                    aliases.emplace_back(Sjis(spelling), Sjis(row.label));
            }
        }
        return aliases;
    }();
    for (const auto& [spelling, name] : kAliases) {
        if (label == spelling)
            return name;
    }
    return label;
}

} // namespace kenmori
