#pragma once
// The records that carry one retrieval run: the conditions fixed at Start,
// and the values the window and the worker share while it lasts.
// Texts are code page 932.

#include "run/OutputFieldCatalog.h"

#include <filesystem>
#include <string>

// The values of the condition controls, one member per settings key: the
// settings file keeps them and a run's SearchConditions carries them, so both
// hold the same record. Only the start position differs in kind (the box's
// text there, the checked number here) and lives beside it in each.
struct ConditionValues {
    // Item indexes of the drop-down lists.
    int Region1 = 0;
    int Region2 = 0;
    int Region3 = 0;
    std::string CityWord;
    int JobCheck = 0; // kind of posting
    int JobHaken = 0;
    std::string JobNo1;
    std::string JobNo2;
    bool JobSet1 = false; // today and yesterday only
    bool JobSet2 = false; // within one week only
    bool JobSet3 = false; // only postings that show the company name
    int JobType = 0;
    int JobIndustry = 0;
    std::string FreeWord;
    int WordCheck = 0; // 0 OR, 1 AND, 2 NOT
    std::string JobCode1;
    std::string JobCode2;
    std::string JobCode3;
    std::string JobCode4;
    bool RetryCheck = false;
    OutputFieldChecks JobList{};
};

// The conditions fixed at Start. An item index that selects nothing is -1
// and counts as 0.
struct SearchConditions : ConditionValues {
    std::string cityCodes; // resolved city codes joined by "%2C"
    int Retry = 0;         // start position: 0, or a multiple of 30
};

enum WorkerVerdict {
    kVerdictNothingWritten = 0,
    kVerdictLineWritten = 1,
    kVerdictUnknownJobSeeker = 8,
};

struct RunState {
    // Written by the window before the worker starts.
    std::filesystem::path outputPath;
    std::string siteCookie;
    bool taskbarReady = false;

    // Written by the worker; the window reads them only in the hand-back.
    bool workerRunning = false;
    int workerVerdict = kVerdictNothingWritten;
    int totalCount = 0;
    int startedCount = 0;
    bool detailRetried = false;
    // The output file could not be created or written: the run ended there,
    // whatever workerVerdict says.
    bool outputFailed = false;
    // A result-list page failed twice: the run ended there, incomplete; the
    // lines written so far are in the file.
    bool listPageFailed = false;
    int linesWritten = 0;
};
