#pragma once
// The checks that Start makes before a run, free of widgets so that the
// window and the command-line runner share them. Texts are code page 932.

#include "run/RunRecords.h"
#include "run/SettingsFile.h"

#include <string>

namespace kenmori {

class ReferenceDatabase;

// The condition whose control gets the focus after a failed check.
enum class StartFocus {
    Unchanged,
    JobSeekerNumber1,
    JobSeekerNumber2,
    CategoryMajor1,
    CategoryMajor2,
    OutputFields,
    Prefecture1,
    CityNames,
};

struct StartCheck {
    bool passed = false;
    std::string message; // empty when passed
    std::string title;   // "設定確認", or the city resolution's own title
    StartFocus focus = StartFocus::Unchanged;
    std::string cityCodes; // resolved codes joined by "%2C"
    // With useStartPosition: the start position rounded down to a multiple
    // of 30, and the text that editRetry shows from now on. Otherwise 0 and
    // the text as given.
    int startPosition = 0;
    std::string retryText;
};

// Runs the checks in their fixed order and stops at the first that fails.
// The city names are resolved through database only when all earlier
// checks passed and a prefecture is chosen.
StartCheck CheckStartConditions(const SettingsValues& values, ReferenceDatabase& database);

// The conditions of the run that check admits: an item index beyond its list
// becomes -1 (no item), and of both recency boxes only "within one week"
// stays ticked, as the window shows them.
SearchConditions ConditionsForRun(const SettingsValues& values, const StartCheck& check);

} // namespace kenmori
