#pragma once
// Which record slot a label row of the detail page fills.

#include <array>
#include <string>
#include <string_view>

inline constexpr int kDetailLabelCount = 92;

// Entry i is the label (code page 932) that fills slot i; "*" marks a slot
// that no label fills, because the rule of another slot does.
const std::array<std::string, kDetailLabelCount>& DetailLabelTable();

// The slot of the first entry equal to label, letters (full-width ones too)
// compared without case and full-width forms kept apart from half-width ones;
// -1 when none is. "*" never matches.
int FindLabelSlot(std::string_view label);

// The name under which the site's other spellings of a label are filed
// ("代表者名" is "役職／代表者名"); any other label unchanged.
std::string AliasedLabel(std::string label);
