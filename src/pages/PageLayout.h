#pragma once
// Puts a page, whatever its line layout, into the one layout that the page
// readers are written for. The site is free to indent, wrap attributes or put
// every element on a line of its own; the readers work line by line, so the
// page is parsed (libxml2's HTML parser) and written out again:
//  - a label row's <th> and the start of its value share a line;
//  - within a cell, the first block stays on the line of its parent, each
//    further block starts a line, and a sub-caption (class "label" or
//    "fs08...") keeps the block after it on its own line;
//  - <br> starts a line with the text after it; a line break inside a text
//    keeps its place, the indentation around it goes;
//  - <p>, <th> and <a> stand whole on one line, and so do <input> and every
//    start tag: no tag is ever broken over lines;
//  - a block that holds blocks ends with its end tag on a line of its own.
// Character references are left as the site wrote them ("&amp;", "&#x2b;"):
// the readers and the CSV value normalisation deal with them. Script and
// style bodies and comments are dropped.
//
// A page whose markup needs no repair is read straight into that layout; any
// other goes through the parser, which repairs it. Both ways give the same
// lines for a regular page.

#include "pages/PageLines.h"

#include <string>
#include <string_view>

// The page's lines in the readers' layout, UTF-8. Bytes that are not UTF-8
// are left out; a NUL byte ends the page.
PageLines LayoutPageLines(std::string_view html);

// The same lines, each ended by "\n".
std::string NormalizePageLayout(std::string_view html);

// The lines as the parser's way gives them, and whether the page takes the
// quick way: for the checks that both ways agree.
std::string NormalizePageLayoutByParser(std::string_view html);
bool IsRegularMarkup(std::string_view html);
