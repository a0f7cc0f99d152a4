#pragma once
// What the retrieval loop tells whoever hosts it (the run session, a test),
// and the one question it asks, on the loop's own thread.

#include <string>

namespace kenmori {

class RunHost {
public:
    virtual ~RunHost() = default;

    // Progress bar to 0..total.
    virtual void resetProgress(int total) = 0;
    // One step on the bar and the taskbar; statusText is code page 932.
    virtual void stepProgress(int position, int total, const std::string& statusText) = 0;
    // Industry name (code page 932) to "Ctgr1Name,Ctgr2Code,Ctgr2Name,Ctgr3Code",
    // or the empty text when nothing matches.
    virtual std::string lookupIndustryCategory(const std::string& industryName) = 0;
};

} // namespace kenmori
