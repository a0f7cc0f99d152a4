#pragma once
// The labelled rows of a detail page: a <tr> whose <th> names what the row
// holds, with the content of the cells beside it (and of the rows its label
// spans) as blocks in document order, as a browser lays them out. A field
// rule reads one row and nothing else, so no field can take the text of
// another row, of a heading between tables or of a notice of the site.

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// The text of an element that starts a line (div, p, li, td ...) or of what
// follows a <br>; inline elements (a, span, b ...) stay in their block.
struct RowBlock {
    std::string text;               // code page 932, blanks as the page shows them, trimmed
    bool afterBreak = false;        // a <br> began it
    bool caption = false;           // names the value after it: class "label" or "fs08...", or a known caption
    bool inGroup = false;           // inside a "flex" group of captions and values
    std::vector<std::string> marks; // ids and names of its element and the elements around it in its cell
};

struct LabelledRow {
    std::string label; // the <th> text, in the name OutputSlotTable files it under (code page 932)
    std::vector<RowBlock> blocks;
    bool belowForm = false; // below the posting-sheet form; rows above it are the page's summary
};

// A caption with the value after it, or a block alone: what the field rules
// take as one line of the row (the site's older pages put such a pair on
// one line).
struct RowLine {
    std::string caption; // empty when the line has none
    std::string value;
    bool afterBreak = false;
    bool inGroup = false;
    std::vector<std::string> marks;

    // Caption and value, a space between.
    std::string text() const;
    // The value alone when the caption is that one, else text().
    std::string textWithout(std::string_view captionText) const;
    bool hasCaption(std::string_view captionText) const { return caption == captionText; }
    // Whether an id or name of the line ends in suffix, letters without case.
    bool hasMark(std::string_view suffix) const;
};

std::vector<RowLine> RowLines(const LabelledRow& row);

// The texts that make a block a caption wherever it stands (code page 932).
bool IsCaptionText(std::string_view text);

} // namespace kenmori
