#pragma once
// The look-ahead that most field rules use: the lines just below a label
// line, read one by one until the rule's own end marker.

#include "pages/PageText.h"
#include "pages/StopRequest.h"

#include <functional>

// What a rule reads besides its label line: the page and the run's stop
// request.
struct RuleInput {
    const PageText& lines;
    const StopRequested& stopRequested;

    bool stopAsked() const { return stopRequested && stopRequested(); }
};

// step(j, offset) for the lines j = k + offset, offset first..last, as long as
// step returns true. Ends before a step once a stop is asked for or j would
// reach the page's last line (a window never reads that one).
void ScanWindow(const RuleInput& in, int k, int first, int last,
                const std::function<bool(int j, int offset)>& step);
