#pragma once
// The records that carry one retrieval run: the conditions fixed at Start,
// and what the run session keeps while it lasts and hands back at its end.
// Texts are code page 932.

#include "run/OutputFieldCatalog.h"

#include <filesystem>
#include <string>

namespace kenmori {

// The values of the condition controls, one member per settings key: the
// settings file keeps them and a run's SearchConditions carries them, so both
// hold the same record. Only the start position differs in kind (the box's
// text there, the checked number here) and lives beside it in each.
struct ConditionValues {
    // Item indexes of the drop-down lists.
    int prefecture1 = 0;
    int prefecture2 = 0;
    int prefecture3 = 0;
    std::string cityNames; // within prefecture1, separated by blanks
    int postingKind = 0;
    int dispatch = 0;
    std::string jobSeekerNumber1; // the number's two parts, digits
    std::string jobSeekerNumber2;
    bool recentTwoDays = false; // today and yesterday only
    bool recentWeek = false;    // within one week only
    bool namedOnly = false;     // only postings that show the company name
    int occupation = 0;
    int industry = 0;
    std::string freeWords;
    int wordsMode = 0; // 0 OR, 1 AND, 2 NOT
    // Two occupation-category codes, each a major and a minor part, digits.
    std::string categoryMajor1;
    std::string categoryMinor1;
    std::string categoryMajor2;
    std::string categoryMinor2;
    bool useStartPosition = false;
    OutputFieldChecks outputFields{};
    // Only postings that no earlier run of the same search wrote; the search
    // itself is the same.
    bool onlyNew = false;
};

// The conditions fixed at Start. An item index that selects nothing is -1
// and counts as 0.
struct SearchConditions : ConditionValues {
    std::string cityCodes; // resolved city codes joined by "%2C"
    int startPosition = 0; // 0, or a multiple of 30
};

enum RetrievalVerdict {
    kVerdictNothingWritten = 0,
    kVerdictLineWritten = 1,
    kVerdictUnknownJobSeeker = 8,
};

struct RunState {
    // Given at the start; the cookie is the warm-up's.
    std::filesystem::path outputPath;
    std::string siteCookie;

    // Written by the retrieval; the owner reads them once the session has ended.
    bool retrieving = false;
    int verdict = kVerdictNothingWritten;
    int totalCount = 0;
    int startedCount = 0;
    bool detailRetried = false;
    // The output file could not be created or written: the run ended there,
    // whatever verdict says.
    bool outputFailed = false;
    // A result-list page failed twice: the run ended there, incomplete; the
    // lines written so far are in the file.
    bool listPageFailed = false;
    int linesWritten = 0;
    int passedOver = 0; // postings skipped as written by an earlier run
};

} // namespace kenmori
