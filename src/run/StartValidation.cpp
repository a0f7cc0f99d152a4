#include "run/StartValidation.h"

#include "reference/CityResolution.h"
#include "run/ConditionChoices.h"
#include "run/ConditionTable.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "text/UserTexts.h"

#include <charconv>

namespace kenmori {

static constexpr int kRetryStep = 30;

// Characters, not bytes: a double-byte character counts once.
static std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count)
        i += IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    return count;
}

// A decimal integer with an optional sign; anything else is 0.
static int IntegerOrZero(std::string_view text)
{
    if (text.starts_with('+'))
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

static StartCheck Failed(std::string_view utf8Message, StartFocus focus)
{
    StartCheck check;
    check.message = Sjis(utf8Message);
    check.title = Sjis(kTitleSettingsCheck);
    check.focus = focus;
    return check;
}

static bool AnyTicked(const OutputFieldChecks& checks)
{
    for (const bool ticked : checks) {
        if (ticked)
            return true;
    }
    return false;
}

StartCheck CheckStartConditions(const SettingsValues& values, ReferenceDatabase& database)
{
    // The boxes that go with another: the job-seeker number's parts, and
    // a category code's major part when its minor part is given.
    for (const ConditionRow& row : ConditionRows()) {
        if (!row.neededWith)
            continue;
        const std::string& text = values.*row.text;
        if (text.empty() && !(values.*row.neededWith).empty())
            return Failed(std::string(row.checkName) + "の入力が正しくありません。", row.focus);
        if (!text.empty() && CharacterCount(text) < row.minCharacters)
            return Failed(std::string(row.checkName) + "の入力桁数が正しくありません。", row.focus);
    }
    if (!AnyTicked(values.outputFields))
        return Failed("ファイルへの出力項目は１つ以上を指定してください。", StartFocus::OutputFields);

    StartCheck check;
    const std::string cityText = TrimText(values.cityNames);
    if (!cityText.empty()) {
        // An index beyond the list selects nothing, like index 0.
        if (values.prefecture1 < 1 || values.prefecture1 > kPrefectureCount)
            return Failed("市区町村名に対する都道府県を指定してください。", StartFocus::Prefecture1);
        CityResolutionResult cities = ResolveCityCodes(database, cityText, values.prefecture1);
        if (cities.code != CityResolutionCode::Resolved) {
            check.message = std::move(cities.message);
            check.title = std::move(cities.title);
            check.focus = StartFocus::CityNames;
            return check;
        }
        check.cityCodes = std::move(cities.cityCodes);
    }

    check.retryText = values.startPositionText;
    if (values.useStartPosition) {
        const int position = IntegerOrZero(TrimText(values.startPositionText));
        if (position < kRetryStep)
            return Failed("開始位置の指定は30以上の数値を入力してください。", StartFocus::Unchanged);
        check.startPosition = position / kRetryStep * kRetryStep;
        check.retryText = std::to_string(check.startPosition);
    }
    check.passed = true;
    return check;
}

// -1 for an index that selects no item of a list of itemCount items.
static int ListIndex(int index, int itemCount)
{
    return index >= 0 && index < itemCount ? index : -1;
}

SearchConditions ConditionsForRun(const SettingsValues& values, const StartCheck& check)
{
    SearchConditions conditions;
    static_cast<ConditionValues&>(conditions) = values;
    for (const ConditionRow& row : ConditionRows()) {
        if (row.kind == ConditionKind::DropDown)
            conditions.*row.number = ListIndex(conditions.*row.number, row.itemCount);
    }
    conditions.recentTwoDays = values.recentTwoDays && !values.recentWeek;
    conditions.cityCodes = check.cityCodes;
    conditions.startPosition = check.startPosition;
    return conditions;
}

} // namespace kenmori
