#pragma once
// Shared pieces of the detail-extraction tests: pages written as UTF-8
// lines, industry answers from a table as the run would place them, and
// conversions so expectations read as plain text.

#include "text/CodePage932.h"
#include "pages/FieldRules.h"
#include "pages/IndustryCategory.h"
#include "pages/JobRecord.h"
#include "pages/PageLines.h"

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

inline std::string S(std::string_view utf8)
{
    return Utf8ToShiftJis(utf8);
}
inline std::string U(std::string_view sjis)
{
    return ShiftJisToUtf8(sjis);
}

inline std::string DetailFixturePath(const std::string& name)
{
    return std::string(KENMORI_TEST_DATA_DIR) + "/detail/" + name;
}

// The lines as the site would send them (UTF-8).
inline PageLines Page(std::initializer_list<const char*> lines)
{
    return PageLines(lines.begin(), lines.end());
}

// Stands in for the reference database: UTF-8 industry name -> UTF-8 answer.
using IndustryAnswers = std::map<std::string, std::string>;

// Places a reading's industry names as the run does, answered from answers;
// the names asked for are added to asked (UTF-8) when given.
inline void AnswerIndustries(const std::vector<std::string>& names, const IndustryAnswers& answers,
                             JobRecord& record, std::vector<std::string>* asked = nullptr)
{
    for (const std::string& name : names) {
        if (asked)
            asked->push_back(U(name));
        const auto it = answers.find(U(name));
        StoreIndustryCategory(it == answers.end() ? std::string() : S(it->second), name, record);
    }
}

// The record after the rule of slot has run on label line k of page, and
// the run has placed the industry names it left.
inline JobRecord RunRule(const PageLines& page, int slot, int k, JobRecord record = {},
                         const IndustryAnswers& answers = {}, std::vector<std::string>* asked = nullptr)
{
    const StopRequested never;
    std::vector<std::string> industryNames;
    const PageText text(page);
    ApplySlotRule(slot, k, RuleInput{text, never}, record, industryNames);
    AnswerIndustries(industryNames, answers, record, asked);
    return record;
}
