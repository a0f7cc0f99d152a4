#pragma once
// The quick way through a page whose markup needs no repair: every element
// opened inside <html> and closed where it ends, nothing a parser would have
// to add, move or drop. Such a page goes straight from its bytes into the
// layout writer, with the same calls libxml2's tree would give it. Anything
// else (an element closed implicitly, a stray end tag, an upper-case name,
// text outside <body>, a bogus "<") makes it give up, and the page goes
// through libxml2's parser instead, which repairs it.

#include <string_view>

class LayoutWriter;

// False as soon as the page needs a repair; the writer is then spoiled.
// The page must be UTF-8 whose characters the parser keeps as they are: no
// control character but tab and line breaks, no U+FFFE or U+FFFF (the parser
// drops these from text).
bool WriteRegularMarkup(std::string_view page, LayoutWriter& writer);
