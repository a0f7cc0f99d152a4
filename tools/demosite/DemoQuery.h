#pragma once
// The search conditions that the demonstration site honours, read from the
// body of the search form, and the test of one posting against them.

#include "DemoPosting.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// Form fields by name, values decoded (percent escapes, "+" as space).
using FormFields = std::multimap<std::string, std::string>;

// "&a=1&b=x+y" to its fields; malformed escapes stay as they are.
FormFields ParseFormBody(std::string_view body);

// The first value of name, empty when the field is absent.
std::string FormValue(const FormFields& fields, const std::string& name);

struct DemoQuery {
    // Prefecture codes (2 digits) and city codes (5 digits); empty for all.
    std::vector<std::string> areaCodes;
    int kind = 0;                           // kjKbnRadioBtn; 0 for any kind
    int workStyle = 0;                      // ippanCKBox or sGSYACKBox: 1 full-time, 2 part-time, 0 both
    std::string industryCode;               // kiboSuruSngBrui1In, 2 digits; empty for any
    std::vector<std::string> words;         // freeWordInput
    bool allWords = false;                  // freeWordRadioBtn 1 (AND), else OR
    std::vector<std::string> excludedWords; // nOTKNSKFreeWordInput
    std::string jobSeekerFirst;             // kSNoJo
    std::string jobSeekerSecond;            // kSNoGe
};

// The conditions of a search post. Fields the site does not honour (recency,
// occupation, dispatch, occupation codes) are ignored.
DemoQuery ReadDemoQuery(const FormFields& fields);
DemoQuery ParseSearchBody(std::string_view body);

bool PostingMatches(const DemoPosting& posting, const DemoQuery& query);

// True when the search names a job-seeker number (either part filled) that
// is not knownNumber ("13010-1234567").
bool NamesUnknownJobSeeker(const DemoQuery& query, std::string_view knownNumber);

} // namespace kenmori
