#pragma once
// The line layouts the demonstration site can send its pages in. "today" is
// the layout the pages are written in; "spread" is what an HTML formatter
// makes of them: every element that holds other elements on lines of its
// own, indented; an element holding only text on one line; <br> starting a
// line with the text after it; blank lines between rows; long start tags
// wrapping their attributes onto the next line.

#include <optional>
#include <string>
#include <string_view>

namespace kenmori {

enum class DemoLayout { Today, Spread };

std::optional<DemoLayout> DemoLayoutFromName(std::string_view name);

// The page re-laid as a formatter would; the markup itself is unchanged.
std::string SpreadLayout(std::string_view html);

} // namespace kenmori
