#pragma once
// Shared pieces of the detail-extraction tests: pages written as UTF-8
// lines, a host that answers the industry lookup from a table, and
// conversions so expectations read as plain text.

#include "site/CodePage932.h"
#include "worker/FieldRules.h"
#include "worker/JobRecord.h"
#include "worker/PageLines.h"
#include "worker/RunHost.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

inline std::string S(std::string_view utf8) { return Utf8ToShiftJis(utf8); }
inline std::string U(std::string_view sjis) { return ShiftJisToUtf8(sjis); }

inline std::string DetailFixturePath(const std::string& name)
{
    return std::string(KENMORI_TEST_DATA_DIR) + "/detail/" + name;
}

// The lines as the site would send them (UTF-8).
inline PageLines Page(std::initializer_list<const char*> lines)
{
    return PageLines(lines.begin(), lines.end());
}

class FakeRunHost : public RunHost {
public:
    std::map<std::string, std::string> industries; // UTF-8 name -> UTF-8 answer
    std::vector<std::string> lookups;              // UTF-8 names asked for
    std::function<void()> onLookup;

    void ResetProgress(int) override {}
    void StepProgress(int, int, const std::string&) override {}
    void NotifyRunFinished() override {}
    std::string LookupIndustryCategory(const std::string& industryName) override
    {
        lookups.push_back(U(industryName));
        if (onLookup)
            onLookup();
        const auto it = industries.find(U(industryName));
        return it == industries.end() ? std::string() : S(it->second);
    }
};

// The record after the rule of slot has run on label line k of page.
inline JobRecord RunRule(const PageLines& page, int slot, int k, RunHost& host,
                         JobRecord record = {})
{
    const StopRequested never;
    ApplySlotRule(slot, k, RuleInput{page, never, host}, record);
    return record;
}
