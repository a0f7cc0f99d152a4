#pragma once
// The command-line runner's side of a run: the status text on standard
// error, the industry lookup in the reference database, and the end.

#include "run/RunHost.h"

#include <cstdio>
#include <string_view>

class ReferenceDatabase;

// A message on standard error, CR LF shown as one line break.
void PrintUtf8Message(std::string_view utf8Text);
void PrintMessage(std::string_view sjisText); // code page 932

class CliHost : public RunHost {
public:
    // redraw: the status line is rewritten in place (standard error is a
    // terminal); otherwise every status goes on a line of its own.
    CliHost(ReferenceDatabase& database, bool redraw);

    void ResetProgress(int total) override;
    void StepProgress(int position, int total, const std::string& statusText) override;
    std::string LookupIndustryCategory(const std::string& industryName) override;
    void NotifyRunFinished() override;

    bool finished() const { return m_finished; }

private:
    ReferenceDatabase& m_database;
    const bool m_redraw;
    bool m_statusShown = false;
    bool m_lookupFailureShown = false;
    bool m_finished = false;
};
