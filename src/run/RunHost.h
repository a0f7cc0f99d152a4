#pragma once
// The one interface through which the worker reaches whoever hosts the run
// (the window, the command-line runner, a test). A host on another thread
// runs each call there and returns only when it is done, so the worker waits
// exactly as a synchronous call would.

#include <string>

class RunHost {
public:
    virtual ~RunHost() = default;

    // Progress bar to 0..total.
    virtual void ResetProgress(int total) = 0;
    // One step on the bar and the taskbar; statusText is code page 932.
    virtual void StepProgress(int position, int total, const std::string& statusText) = 0;
    // Industry name (code page 932) to "Ctgr1Name,Ctgr2Code,Ctgr2Name,Ctgr3Code",
    // or the empty text when nothing matches.
    virtual std::string LookupIndustryCategory(const std::string& industryName) = 0;
    // The run is over: the host reads the verdict and ends the run.
    virtual void NotifyRunFinished() = 0;
};
