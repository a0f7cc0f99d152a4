#include "run/ConditionTable.h"

#include "run/ConditionChoices.h"

namespace kenmori {

namespace {

constexpr ConditionRow DropDown(std::string_view key, int ConditionValues::*member, int itemCount,
                                std::string_view option, int logPosition)
{
    return {.key = key,
            .kind = ConditionKind::DropDown,
            .number = member,
            .itemCount = itemCount,
            .option = option,
            .logPosition = logPosition};
}

constexpr ConditionRow Check(std::string_view key, bool ConditionValues::*member, std::string_view option,
                             int logPosition)
{
    return {
        .key = key, .kind = ConditionKind::Check, .ticked = member, .option = option, .logPosition = logPosition};
}

constexpr ConditionRow Box(ConditionKind kind, std::string_view key, std::string SettingsValues::*member,
                           std::size_t maxBytes, std::string_view option, int logPosition)
{
    return {.key = key,
            .kind = kind,
            .text = member,
            .maxBytes = maxBytes,
            .option = option,
            .logPosition = logPosition};
}

constexpr ConditionRow Text(std::string_view key, std::string SettingsValues::*member, std::size_t maxBytes,
                            std::string_view option, int logPosition)
{
    return Box(ConditionKind::Text, key, member, maxBytes, option, logPosition);
}

constexpr ConditionRow Digits(std::string_view key, std::string SettingsValues::*member, std::size_t maxBytes,
                              std::string_view option, int logPosition)
{
    return Box(ConditionKind::Digits, key, member, maxBytes, option, logPosition);
}

// The row with its start check against the box of other.
constexpr ConditionRow NeededWith(ConditionRow row, std::string SettingsValues::*other, std::size_t minCharacters,
                                  std::string_view checkName, StartFocus focus)
{
    row.neededWith = other;
    row.minCharacters = minCharacters;
    row.checkName = checkName;
    row.focus = focus;
    return row;
}

constexpr std::string_view kJobSeekerNumber = "求職番号";
constexpr std::string_view kCategoryCode = "職業分類コード";

// In the order of [Config]. The run log lists the conditions in the
// window's order, without the job-seeker number and the start position's
// tick.
constexpr ConditionRow kRows[] = {
    DropDown("Region1", &ConditionValues::prefecture1, kRegionItemCount, "prefecture", 0),
    DropDown("Region2", &ConditionValues::prefecture2, kRegionItemCount, "prefecture", 1),
    DropDown("Region3", &ConditionValues::prefecture3, kRegionItemCount, "prefecture", 2),
    DropDown("JobType", &ConditionValues::occupation, kJobTypeItemCount, "occupation", 9),
    DropDown("JobHaken", &ConditionValues::dispatch, kJobHakenItemCount, "dispatch", 5),
    DropDown("JobIndustry", &ConditionValues::industry, kJobIndustryItemCount, "industry", 10),
    Check("JobSet1", &ConditionValues::recentTwoDays, "recent", 6),
    Check("JobSet2", &ConditionValues::recentWeek, "recent", 7),
    Check("JobSet3", &ConditionValues::namedOnly, "named-only", 8),
    Check("RetryCheck", &ConditionValues::useStartPosition, "start", -1),
    DropDown("JobCheck", &ConditionValues::postingKind, kJobCheckItemCount, "kind", 4),
    Text("CityWord", &ConditionValues::cityNames, kCityWordBytes, "city", 3),
    Text("FreeWord", &ConditionValues::freeWords, kFreeWordBytes, "words", 11),
    Digits("Retry", &SettingsValues::startPositionText, kRetryBytes, "start", 17),
    NeededWith(Digits("JobNo1", &ConditionValues::jobSeekerNumber1, kJobNo1Bytes, "job-seeker", -1),
               &ConditionValues::jobSeekerNumber2, 5, kJobSeekerNumber, StartFocus::JobSeekerNumber1),
    NeededWith(Digits("JobNo2", &ConditionValues::jobSeekerNumber2, kJobNo2Bytes, "job-seeker", -1),
               &ConditionValues::jobSeekerNumber1, 6, kJobSeekerNumber, StartFocus::JobSeekerNumber2),
    NeededWith(Digits("JobCode1", &ConditionValues::categoryMajor1, kJobCodeMajorBytes, "category-code", 13),
               &ConditionValues::categoryMinor1, 0, kCategoryCode, StartFocus::CategoryMajor1),
    Digits("JobCode2", &ConditionValues::categoryMinor1, kJobCodeMinorBytes, "category-code", 14),
    NeededWith(Digits("JobCode3", &ConditionValues::categoryMajor2, kJobCodeMajorBytes, "category-code", 15),
               &ConditionValues::categoryMinor2, 0, kCategoryCode, StartFocus::CategoryMajor2),
    Digits("JobCode4", &ConditionValues::categoryMinor2, kJobCodeMinorBytes, "category-code", 16),
    {.key = "WordCheck",
     .kind = ConditionKind::WordsMode,
     .number = &ConditionValues::wordsMode,
     .option = "words-mode",
     .logPosition = 12},
    {.key = "JobList",
     .kind = ConditionKind::FieldTicks,
     .fields = &ConditionValues::outputFields,
     .option = "fields",
     .logPosition = 18},
    Check("OnlyNew", &ConditionValues::onlyNew, "only-new", -1),
};

} // namespace

std::span<const ConditionRow> ConditionRows()
{
    return kRows;
}

std::vector<const ConditionRow*> ConditionRowsOf(std::string_view option)
{
    std::vector<const ConditionRow*> rows;
    for (const ConditionRow& row : kRows) {
        if (row.option == option)
            rows.push_back(&row);
    }
    return rows;
}

} // namespace kenmori
