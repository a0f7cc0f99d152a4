#pragma once
// Shared pieces of the detail-extraction tests: pages of one row, industry
// answers from a table as the run would place them, and conversions so
// expectations read as plain text.

#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/FieldRules.h"
#include "pages/IndustryCategory.h"
#include "pages/JobRecord.h"
#include "pages/DetailPageParts.h"

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace kenmori {

inline std::string S(std::string_view utf8)
{
    return Utf8ToShiftJis(utf8);
}
inline std::string U(std::string_view sjis)
{
    return ShiftJisToUtf8(sjis);
}

// A field's text as an output file shows it (UTF-8): references decoded, a
// character without a code page 932 form as that form shows it or kept.
inline std::string Shown(std::string_view sjis, TextEncoding encoding = TextEncoding::ShiftJis)
{
    return encoding == TextEncoding::Utf8 ? DecodeCharacterReferences(U(sjis), encoding)
                                          : U(DecodeCharacterReferences(sjis, encoding));
}

inline std::string DetailFixturePath(const std::string& name)
{
    return std::string(KENMORI_TEST_DATA_DIR) + "/detail/" + name;
}

// A page of one labelled row, label and cell as the site would send them
// (UTF-8), between a heading and a row that follows it: a rule that reads
// past its row takes their text.
inline std::string RowPage(std::string_view cell, std::string_view label = "項目")
{
    return "<html><body><h2>見出し</h2><table><tr><th>" + std::string(label) + "</th><td>" + std::string(cell)
        + "</td></tr>\n<tr><th>次の項目</th><td><div>次の値</div></td></tr></table><p>お知らせ</p></body></html>";
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

// The record after the rule of slot has run on the page's first labelled
// row, and the run has placed the industry names it left.
inline JobRecord RunRule(std::string_view html, int slot, JobRecord record = {},
                         const IndustryAnswers& answers = {}, std::vector<std::string>* asked = nullptr)
{
    std::vector<std::string> industryNames;
    const DetailPageParts parts = ReadDetailPageParts(html);
    if (!parts.rows.empty())
        ApplySlotRule(slot, parts.rows.front(), record, industryNames);
    AnswerIndustries(industryNames, answers, record, asked);
    return record;
}

} // namespace kenmori
