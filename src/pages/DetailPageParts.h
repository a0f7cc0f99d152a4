#pragma once
// What a detail page holds for its readers, read from the page's structure:
// its labelled rows, the posting-sheet form, and whether the site says the
// posting is gone.

#include "pages/LabelledRows.h"

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

struct DetailPageParts {
    // Every labelled row in page order, up to where the posting ends: the
    // deleted-posting message or the head row of another posting.
    std::vector<LabelledRow> rows;
    // "&name=value..." of the inputs of the form that carries the
    // "ID_kjhyoKjKbn" marker, as a browser submits it (code page 932, "&#x2b;"
    // sent as "%2B", other references as written); empty without one.
    std::string postingSheetQuery;
    // The site's message box: no posting of that number (any more).
    bool deleted = false;
};

// Parses the page once. Nothing of the page's line layout, class names
// beyond the markers above, or attribute order matters.
DetailPageParts ReadDetailPageParts(std::string_view html);

} // namespace kenmori
