#pragma once
// The demonstration postings: the same index always gives the same posting
// and the same detail page.

#include "DemoPosting.h"

#include <string>

namespace kenmori {

struct GeneratedPosting {
    DemoPosting posting;
    std::string detailPage; // UTF-8 HTML, LF line ends
};

GeneratedPosting GeneratePosting(int index);

} // namespace kenmori
