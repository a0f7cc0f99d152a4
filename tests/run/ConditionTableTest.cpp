// The table of conditions: every key in the sources once, every member of
// the records reached by its own row, and what the rows drive.

#include "run/ConditionTable.h"
#include "run/RunLog.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

using namespace kenmori;

namespace {

// The string literals of a C++ source, comments left out.
std::vector<std::string> StringLiterals(const std::string& source)
{
    std::vector<std::string> literals;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos)
                break;
        } else if (source.compare(i, 2, "/*") == 0) {
            i = source.find("*/", i + 2);
            if (i == std::string::npos)
                break;
            ++i;
        } else if (source[i] == '\'' || source[i] == '"') {
            const char quote = source[i];
            std::string literal;
            for (++i; i < source.size() && source[i] != quote; ++i) {
                if (source[i] == '\\')
                    literal += source[i++];
                literal += source[i];
            }
            if (quote == '"')
                literals.push_back(literal);
        }
    }
    return literals;
}

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every member with a value of its own, none the default.
SettingsValues DistinctValues()
{
    SettingsValues values;
    values.prefecture1 = 13;
    values.prefecture2 = 27;
    values.prefecture3 = 47;
    values.cityNames = Utf8ToShiftJis("新宿区 渋谷区");
    values.postingKind = 2;
    values.dispatch = 3;
    values.jobSeekerNumber1 = "13010";
    values.jobSeekerNumber2 = "1234567";
    values.recentTwoDays = true;
    values.recentWeek = false;
    values.namedOnly = true;
    values.onlyNew = true;
    values.occupation = 5;
    values.industry = 39;
    values.freeWords = Utf8ToShiftJis("介護 夜勤");
    values.wordsMode = 1;
    values.categoryMajor1 = "011";
    values.categoryMinor1 = "02";
    values.categoryMajor2 = "3";
    values.categoryMinor2 = "4";
    values.useStartPosition = true;
    values.outputFields[2] = true;
    values.startPositionText = "90";
    return values;
}

} // namespace

TEST(ConditionTable, EachKeyIsWrittenOnceInTheProgramsSources)
{
    std::map<std::string, int> counts;
    for (const ConditionRow& row : ConditionRows())
        counts[std::string(row.key)] = 0;
    ASSERT_EQ(counts.size(), ConditionRows().size()) << "a key has two rows";

    const std::regex word("[A-Za-z0-9]+");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KENMORI_SOURCE_DIR)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h")
            continue;
        ++files;
        for (const std::string& literal : StringLiterals(FileText(entry.path()))) {
            for (std::sregex_iterator it(literal.begin(), literal.end(), word), end; it != end; ++it) {
                if (const auto found = counts.find(it->str()); found != counts.end())
                    ++found->second;
            }
        }
    }
    EXPECT_GT(files, 50);
    for (const auto& [key, count] : counts)
        EXPECT_EQ(count, 1) << key;
}

TEST(ConditionTable, EachRowHoldsWhatItsKindNeeds)
{
    std::set<int> logPositions;
    for (const ConditionRow& row : ConditionRows()) {
        SCOPED_TRACE(std::string(row.key));
        const bool number = row.kind == ConditionKind::DropDown || row.kind == ConditionKind::WordsMode;
        const bool text = row.kind == ConditionKind::Text || row.kind == ConditionKind::Digits;
        EXPECT_EQ(row.number != nullptr, number);
        EXPECT_EQ(row.ticked != nullptr, row.kind == ConditionKind::Check);
        EXPECT_EQ(row.text != nullptr, text);
        EXPECT_EQ(row.fields != nullptr, row.kind == ConditionKind::FieldTicks);
        EXPECT_EQ(row.maxBytes > 0, text);
        EXPECT_EQ(row.itemCount > 0, row.kind == ConditionKind::DropDown);
        EXPECT_FALSE(row.option.empty());
        if (row.neededWith) {
            EXPECT_EQ(row.kind, ConditionKind::Digits);
            EXPECT_FALSE(row.checkName.empty());
            EXPECT_NE(row.focus, StartFocus::Unchanged);
        }
        if (row.logPosition >= 0) {
            EXPECT_TRUE(logPositions.insert(row.logPosition).second) << "two rows at one place in the log";
        }
    }
    ASSERT_FALSE(logPositions.empty());
    EXPECT_EQ(*logPositions.begin(), 0);
    EXPECT_EQ(*logPositions.rbegin(), static_cast<int>(logPositions.size()) - 1);
}

// Two rows on one member would leave another member out of the file.
TEST(ConditionTable, EveryMemberGoesThroughTheFileUnderItsOwnKey)
{
    const SettingsValues values = DistinctValues();
    IniFile ini;
    WriteSettings(ini, values);
    const std::string fields = "001" + std::string(kOutputFieldCount - 3, '0');
    EXPECT_EQ(ini.toBytes(),
              "[Config]\r\nRegion1=13\r\nRegion2=27\r\nRegion3=47\r\nJobType=5\r\nJobHaken=3\r\n"
              "JobIndustry=39\r\nJobSet1=1\r\nJobSet2=0\r\nJobSet3=1\r\nRetryCheck=1\r\nJobCheck=2\r\n"
              "CityWord="
                  + values.cityNames + "\r\nFreeWord=" + values.freeWords
                  + "\r\nRetry=90\r\nJobNo1=13010\r\nJobNo2=1234567\r\nJobCode1=011\r\nJobCode2=02\r\n"
                    "JobCode3=3\r\nJobCode4=4\r\nWordCheck=1\r\nJobList="
                  + fields + "\r\nOnlyNew=1\r\nOutputFormat=sjis\r\n");

    // Read back, the values write the same file again.
    IniFile again;
    WriteSettings(again, ReadSettings(ini));
    EXPECT_EQ(again.toBytes(), ini.toBytes());
}

// The run log lists the run's conditions in the window's order: the resolved
// city codes after the names, the checked start position, no job-seeker
// number.
TEST(ConditionTable, TheRunLogListsTheConditionsOfTheRun)
{
    SearchConditions conditions;
    static_cast<ConditionValues&>(conditions) = DistinctValues();
    conditions.cityCodes = "13104%2C13113";
    conditions.startPosition = 60;
    EXPECT_EQ(ConditionsLogText(conditions),
              "Region1=13 Region2=27 Region3=47 CityWord=\"新宿区 渋谷区\" cityCodes=\"13104%2C13113\" "
              "JobCheck=2 JobHaken=3 JobSet1=1 JobSet2=0 JobSet3=1 JobType=5 JobIndustry=39 "
              "FreeWord=\"介護 夜勤\" WordCheck=1 JobCode1=\"011\" JobCode2=\"02\" JobCode3=\"3\" "
              "JobCode4=\"4\" Retry=60 JobList=001"
                  + std::string(kOutputFieldCount - 3, '0'));
}
