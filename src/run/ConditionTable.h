#pragma once
// The search conditions as one table, a row for each key of [Config] in
// km.ini, in the order the file keeps them. The settings file, the run log,
// kenmori-cli's options, the start checks and the window take each
// condition's key, member, limits and names from its row, so that a
// condition is described in one place. Texts are code page 932.

#include "run/RunRecords.h"
#include "run/SettingsFile.h"
#include "run/StartValidation.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// The control that shows a condition, and with it the kind of its value.
enum class ConditionKind {
    DropDown,   // a drop-down list's item index
    Text,       // a text box of at most maxBytes bytes
    Digits,     // a digit box of at most maxBytes bytes, digits only
    Check,      // a check box
    WordsMode,  // the free words' radio buttons: 0 OR, 1 AND, 2 NOT
    FieldTicks, // the output fields' ticks
};

struct ConditionRow {
    std::string_view key{}; // in [Config]
    ConditionKind kind = ConditionKind::Check;

    // The member holding the value: the one that the kind asks for. Texts
    // are the settings record's, since only there the start position is a
    // box's text.
    int ConditionValues::*number = nullptr;               // DropDown, WordsMode
    bool ConditionValues::*ticked = nullptr;              // Check
    std::string SettingsValues::*text = nullptr;          // Text, Digits
    OutputFieldChecks ConditionValues::*fields = nullptr; // FieldTicks

    std::size_t maxBytes = 0; // Text, Digits: what the box takes
    int itemCount = 0;        // DropDown: the list's items, a blank first one included

    // The kenmori-cli option that sets it; the rows of an option that sets
    // several members follow each other in the option's order.
    std::string_view option{};
    // Its place in the run log's listing of the conditions; -1 when the log
    // leaves it out.
    int logPosition = -1;

    // The start check of a box that goes with another (Digits): it must be
    // filled when the box of neededWith is, and hold at least minCharacters
    // characters then. The messages name it checkName (UTF-8), and the
    // focus goes to it.
    std::string SettingsValues::*neededWith = nullptr;
    std::size_t minCharacters = 0;
    std::string_view checkName{};
    StartFocus focus = StartFocus::Unchanged;
};

std::span<const ConditionRow> ConditionRows();

// The rows that option sets, in the table's order.
std::vector<const ConditionRow*> ConditionRowsOf(std::string_view option);

} // namespace kenmori
