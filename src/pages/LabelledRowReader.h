#pragma once
// Reading a labelled row out of the page's tree; for the page readers.

#include "pages/HtmlTree.h"
#include "pages/LabelledRows.h"

#include <unordered_set>

namespace kenmori {

// The row's label cell: its first <th>; null when tr is no labelled row.
const xmlNode* LabelCellOf(const xmlNode* tr);

// The row of tr, labelled by labelCell. The rows that the label spans
// (rowspan) are read with it and added to spanned: they are no rows of their
// own.
LabelledRow ReadLabelledRow(const xmlNode* tr, const xmlNode* labelCell,
                            std::unordered_set<const xmlNode*>& spanned);

} // namespace kenmori
