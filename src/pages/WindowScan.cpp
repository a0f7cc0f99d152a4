#include "pages/WindowScan.h"

void ScanWindow(const RuleInput& in, int k, int first, int last,
                const std::function<bool(int j, int offset)>& step)
{
    const int lastLine = static_cast<int>(in.lines.size()) - 1;
    for (int offset = first; offset <= last; ++offset) {
        const int j = k + offset;
        if (in.stopAsked() || j >= lastLine)
            return;
        if (!step(j, offset))
            return;
    }
}
