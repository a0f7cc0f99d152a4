#include "DemoQuery.h"

#include "DemoText.h"

#include <algorithm>

namespace kenmori {

static int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

static std::string DecodeFormText(std::string_view text)
{
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

FormFields ParseFormBody(std::string_view body)
{
    FormFields fields;
    size_t start = 0;
    while (start <= body.size()) {
        const size_t end = std::min(body.find('&', start), body.size());
        const std::string_view pair = body.substr(start, end - start);
        if (!pair.empty()) {
            const size_t equals = pair.find('=');
            const std::string_view name = pair.substr(0, equals);
            const std::string_view value = equals == std::string_view::npos ? std::string_view()
                                                                            : pair.substr(equals + 1);
            fields.emplace(DecodeFormText(name), DecodeFormText(value));
        }
        start = end + 1;
    }
    return fields;
}

std::string FormValue(const FormFields& fields, const std::string& name)
{
    const auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

static int SmallNumber(const std::string& text)
{
    const long long value = DigitsValue(text);
    return value >= 0 && value < 100 ? static_cast<int>(value) : 0;
}

DemoQuery ReadDemoQuery(const FormFields& fields)
{
    DemoQuery query;
    for (const std::string& code : SplitWords(ReplaceAll(FormValue(fields, "todohukenHidden"), ",", " "))) {
        if ((code.size() == 2 || code.size() == 5) && DigitsValue(code) >= 0)
            query.areaCodes.push_back(code);
    }
    query.kind = SmallNumber(FormValue(fields, "kjKbnRadioBtn"));
    if (query.kind == kDemoKindGeneral)
        query.workStyle = SmallNumber(FormValue(fields, "ippanCKBox"));
    else if (query.kind == kDemoKindDisabled)
        query.workStyle = SmallNumber(FormValue(fields, "sGSYACKBox"));
    const std::string industry = FormValue(fields, "kiboSuruSngBrui1In");
    if (industry.size() == 2 && DigitsValue(industry) > 0)
        query.industryCode = industry;
    query.words = SplitWords(FormValue(fields, "freeWordInput"));
    query.allWords = FormValue(fields, "freeWordRadioBtn") == "1";
    query.excludedWords = SplitWords(FormValue(fields, "nOTKNSKFreeWordInput"));
    query.jobSeekerFirst = FormValue(fields, "kSNoJo");
    query.jobSeekerSecond = FormValue(fields, "kSNoGe");
    return query;
}

DemoQuery ParseSearchBody(std::string_view body)
{
    return ReadDemoQuery(ParseFormBody(body));
}

static bool InArea(const DemoPosting& posting, const std::vector<std::string>& codes)
{
    if (codes.empty())
        return true;
    return std::any_of(codes.begin(), codes.end(), [&](const std::string& code) {
        return code == (code.size() == 2 ? posting.prefectureCode : posting.cityCode);
    });
}

bool PostingMatches(const DemoPosting& posting, const DemoQuery& query)
{
    if (!InArea(posting, query.areaCodes))
        return false;
    if (query.kind != 0 && posting.kind != query.kind)
        return false;
    if ((query.workStyle == kDemoFullTime || query.workStyle == kDemoPartTime)
        && posting.workStyle != query.workStyle)
        return false;
    if (!query.industryCode.empty() && posting.industryCode != query.industryCode)
        return false;
    const auto contained = [&](const std::string& word) {
        return posting.searchText.find(word) != std::string::npos;
    };
    if (!query.words.empty()) {
        const bool found = query.allWords ? std::all_of(query.words.begin(), query.words.end(), contained)
                                          : std::any_of(query.words.begin(), query.words.end(), contained);
        if (!found)
            return false;
    }
    return std::none_of(query.excludedWords.begin(), query.excludedWords.end(), contained);
}

bool NamesUnknownJobSeeker(const DemoQuery& query, std::string_view knownNumber)
{
    if (query.jobSeekerFirst.empty() && query.jobSeekerSecond.empty())
        return false;
    return query.jobSeekerFirst + "-" + query.jobSeekerSecond != knownNumber;
}

} // namespace kenmori
