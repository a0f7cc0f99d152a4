#include "reference/CityResolution.h"

#include "reference/ReferenceDatabase.h"
#include "text/CodePage932.h"
#include "text/UserTexts.h"
#include "text/TextUtils.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

namespace kenmori {

// Distinct names in the order typed; blanks of both widths separate them.
static std::vector<std::string> CityNames(std::string_view cityText)
{
    static const std::string kIdeographicSpace = Utf8ToShiftJis("　");
    const std::string text = TrimText(ReplaceAllText(cityText, kIdeographicSpace, " "));
    std::vector<std::string> pieces;
    SplitText(text, " ", pieces);
    std::vector<std::string> names;
    for (std::string& piece : pieces)
        if (std::find(names.begin(), names.end(), piece) == names.end())
            names.push_back(std::move(piece));
    return names;
}

static std::string UnmatchedMessage(const std::vector<std::string>& names)
{
    static const std::string kSeparator = Utf8ToShiftJis("、");
    static const std::string kTail = Utf8ToShiftJis(
        "の市区町村名は指定できません。\r\n別の市区町村名を指定してください。");
    std::string message;
    for (const std::string& name : names) {
        if (!message.empty())
            message += kSeparator;
        message += '\'' + name + '\'';
    }
    return message + kTail;
}

static CityResolutionResult DatabaseFailure(std::string errorText)
{
    CityResolutionResult result;
    result.code = CityResolutionCode::DatabaseError;
    result.message = std::move(errorText);
    result.title = std::string(kTitleError);
    return result;
}

CityResolutionResult ResolveCityCodes(ReferenceDatabase& database, std::string_view cityText, int region1)
{
    CityResolutionResult result;
    const std::vector<std::string> names = CityNames(cityText);
    if (names.empty())
        return result;

    if (names.size() > kMaxCityNames) {
        result.code = CityResolutionCode::TooManyNames;
        result.message = Utf8ToShiftJis("指定できる市区町村名は最大5箇所までとなっています。");
        result.title = Utf8ToShiftJis(kTitleSettingsCheck);
        return result;
    }

    std::vector<std::string> unmatched;
    for (const std::string& name : names) {
        std::optional<std::vector<std::string>> row;
        if (!database.selectFirstRow(
                QStringLiteral("SELECT AreaID, CityID FROM T02_CITY WHERE AreaID = ? AND CityName = ?"),
                {region1, ShiftJisToQString(name)}, row))
            return DatabaseFailure(database.errorText());
        if (!row) {
            unmatched.push_back(name);
            continue;
        }
        const std::string& areaText = (*row)[0];
        int areaId = 0;
        const auto [end, error] = std::from_chars(areaText.data(), areaText.data() + areaText.size(), areaId);
        if (error != std::errc() || end != areaText.data() + areaText.size())
            return DatabaseFailure("Reference database: T02_CITY holds the AreaID \"" + areaText + "\"");
        char area[16];
        std::snprintf(area, sizeof area, "%2.2d", areaId);
        if (!result.cityCodes.empty())
            result.cityCodes += "%2C";
        result.cityCodes += area + (*row)[1];
    }

    if (!unmatched.empty()) {
        result.code = CityResolutionCode::UnmatchedNames;
        result.message = UnmatchedMessage(unmatched);
        result.title = Utf8ToShiftJis(kTitleSettingsCheck);
    }
    return result;
}

} // namespace kenmori
