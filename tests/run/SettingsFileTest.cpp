#include "run/SettingsFile.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

using namespace kenmori;

static std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(SettingsFile, CutsTextAtByteCountsWithoutSplittingACharacter)
{
    EXPECT_EQ(CutToBytes("123456789012", 8), "12345678");
    EXPECT_EQ(CutToBytes("12", 8), "12");
    EXPECT_EQ(CutToBytes(Sjis("東京都"), 6), Sjis("東京都"));
    EXPECT_EQ(CutToBytes(Sjis("東京都"), 5), Sjis("東京"));
    EXPECT_EQ(CutToBytes(Sjis("a東"), 2), "a");
    EXPECT_EQ(CutToBytes(Sjis("a東"), 0), "");
    // A lead byte at the very end has no partner to split from: it stays.
    EXPECT_EQ(CutToBytes("a\x93", 5), "a\x93");
}

TEST(SettingsFile, ReadsDefaultsRulesAndCuts)
{
    const SettingsValues empty = ReadSettings(IniFile());
    EXPECT_EQ(empty.prefecture1, 0);
    EXPECT_EQ(empty.startPositionText, "0");
    EXPECT_EQ(empty.cityNames, "");
    EXPECT_FALSE(empty.recentTwoDays);
    for (const bool ticked : empty.outputFields)
        EXPECT_FALSE(ticked);
    for (const bool ticked : FirstStartSettings().outputFields)
        EXPECT_TRUE(ticked);

    const std::string city = std::string(99, 'a') + Sjis("区"); // 101 bytes
    IniFile ini;
    ini.loadFromBytes("[Config]\r\nRegion1=0x0D\r\nRegion2=abc\r\nRegion3=-1\r\nJobSet1=2\r\n"
                      "JobSet2=0x0\r\nRetryCheck=1\r\nRetry=123456789\r\nWordCheck=7\r\n"
                      "JobNo2=123456789012\r\nJobCode2=\r\nCityWord="
                      + city
                      + "\r\n"
                        "FreeWord=\""
                      + Sjis("看護 夜勤")
                      + "\"\r\nJobList=10\r\n"
                        "[Site]\r\nBaseAddress=http://127.0.0.1:9\r\n");
    const SettingsValues values = ReadSettings(ini);
    EXPECT_EQ(values.prefecture1, 13);
    EXPECT_EQ(values.prefecture2, 0);
    EXPECT_EQ(values.prefecture3, -1);
    EXPECT_TRUE(values.recentTwoDays);
    EXPECT_FALSE(values.recentWeek);
    EXPECT_TRUE(values.useStartPosition);
    EXPECT_EQ(values.startPositionText, "1234567");
    EXPECT_EQ(values.wordsMode, 0);
    EXPECT_EQ(values.jobSeekerNumber2, "12345678");
    EXPECT_EQ(values.categoryMinor1, "");
    EXPECT_EQ(values.cityNames, std::string(99, 'a'));
    EXPECT_EQ(values.freeWords, Sjis("看護 夜勤"));
    EXPECT_TRUE(values.outputFields[0]);
    EXPECT_FALSE(values.outputFields[1]);
    EXPECT_FALSE(values.outputFields[2]); // beyond the short list
    EXPECT_EQ(values.baseAddress, "http://127.0.0.1:9");
}

TEST(SettingsFile, WritesKeysInOrderAndKeepsForeignText)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directory(folder / "db");
    const auto path = folder / "db" / "km.ini";

    SettingsValues values;
    values.prefecture1 = -1;
    values.industry = 99;
    values.recentWeek = true;
    values.cityNames = Sjis("新宿区 渋谷区");
    values.freeWords = "a\r\nRegion1=5";
    values.jobSeekerNumber1 = "12345";
    values.wordsMode = 2;
    values.outputFields[1] = true;
    ASSERT_TRUE(WriteSettingsFile(path, values));
    const std::string jobList = "01" + std::string(92, '0');
    EXPECT_EQ(FileBytes(path),
              "[Config]\r\nRegion1=-1\r\nRegion2=0\r\nRegion3=0\r\nJobType=0\r\nJobHaken=0\r\n"
              "JobIndustry=99\r\nJobSet1=0\r\nJobSet2=1\r\nJobSet3=0\r\nRetryCheck=0\r\n"
              "JobCheck=0\r\nCityWord="
                  + Sjis("新宿区 渋谷区")
                  + "\r\nFreeWord=a  Region1=5\r\n"
                    "Retry=0\r\nJobNo1=12345\r\nJobNo2=\r\nJobCode1=\r\nJobCode2=\r\nJobCode3=\r\n"
                    "JobCode4=\r\nWordCheck=2\r\nJobList="
                  + jobList + "\r\nOnlyNew=0\r\nOutputFormat=sjis\r\n");

    const std::optional<SettingsValues> back = ReadSettingsFile(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->prefecture1, -1);
    EXPECT_EQ(back->cityNames, values.cityNames);
    EXPECT_EQ(back->wordsMode, 2);
    EXPECT_EQ(back->outputFields, values.outputFields);

    // Keys of the file move nowhere; foreign lines stay byte for byte.
    const std::string foreign = "[Site]\r\nBaseAddress=http://127.0.0.1:1\r\n; " + Sjis("メモ") + "\r\n";
    std::ofstream(path, std::ios::binary) << "[Config]\r\nJobList=1\r\nMine=" << Sjis("値") << "\r\n\r\n"
                                          << foreign;
    ASSERT_TRUE(WriteSettingsFile(path, values));
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.rfind("[Config]\r\nJobList=" + jobList + "\r\nMine=" + Sjis("値") + "\r\nRegion1=-1\r\n", 0),
              0u);
    EXPECT_TRUE(bytes.ends_with("WordCheck=2\r\nOnlyNew=0\r\nOutputFormat=sjis\r\n\r\n" + foreign));
}

TEST(SettingsFile, MissingFileOrFolder)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    EXPECT_FALSE(ReadSettingsFile(folder / "db" / "km.ini").has_value());
    EXPECT_FALSE(WriteSettingsFile(folder / "db" / "km.ini", SettingsValues()));
    EXPECT_FALSE(std::filesystem::exists(folder / "db"));
}

TEST(SettingsFile, SiteAddressComesOnlyFromTheSiteSection)
{
    IniFile ini;
    ini.loadFromBytes("[Config]\r\nBaseAddress=http://wrong\r\n[Site]\r\nBaseAddress=\r\n");
    EXPECT_EQ(SiteConfigForSettings(ReadSettings(ini)).baseAddress, SiteConfig().baseAddress);

    ini.loadFromBytes("[site]\r\nbaseaddress = http://127.0.0.1:8080/ \r\n");
    EXPECT_EQ(SiteConfigForSettings(ReadSettings(ini)).baseAddress, "http://127.0.0.1:8080");
}

// Every value from the file as the window's boxes would take it, and as the
// command-line runner judges it (the key it refuses, or none).
TEST(SettingsFile, ValuesAreCheckedAsTheBoxesCheckTypedText)
{
    struct Row {
        std::string line;    // in [Config], code page 932
        std::string key;     // the member looked at
        std::string window;  // what the window's box shows
        std::string refused; // what the command-line runner names
    };
    const std::string longCity = std::string(99, 'a') + Sjis("区"); // 101 bytes
    const Row rows[] = {
        {"JobNo1=12345", "JobNo1", "12345", ""},
        {"JobNo1=1&a=1", "JobNo1", "", "JobNo1"}, // would add a field to the search
        {"JobNo1=12345abc", "JobNo1", "", "JobNo1"},
        {"JobNo1=123456", "JobNo1", "12345", "JobNo1"},
        {"JobNo2=123456789012", "JobNo2", "12345678", "JobNo2"},
        {"JobNo2=1234 567", "JobNo2", "", "JobNo2"},
        {"JobCode1=01a", "JobCode1", "", "JobCode1"},
        {"JobCode2=" + Sjis("１２"), "JobCode2", "", "JobCode2"}, // full-width digits are no digits
        {"JobCode3=011", "JobCode3", "011", ""},
        {"JobCode4=-1", "JobCode4", "", "JobCode4"},
        {"Retry=+90", "Retry", "0", "Retry"},
        {"Retry=90", "Retry", "90", ""},
        {"CityWord=" + longCity, "CityWord", std::string(99, 'a'), "CityWord"},
        {"FreeWord=" + std::string(100, 'w'), "FreeWord", std::string(100, 'w'), ""},
        {"Region1=49", "Region1", "49", ""}, // out of range: no item, not refused
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        IniFile ini;
        ini.loadFromBytes("[Config]\r\n" + row.line + "\r\n");
        const auto member = [&row](const SettingsValues& values) -> std::string {
            if (row.key == "JobNo1")
                return values.jobSeekerNumber1;
            if (row.key == "JobNo2")
                return values.jobSeekerNumber2;
            if (row.key == "JobCode1")
                return values.categoryMajor1;
            if (row.key == "JobCode2")
                return values.categoryMinor1;
            if (row.key == "JobCode3")
                return values.categoryMajor2;
            if (row.key == "JobCode4")
                return values.categoryMinor2;
            if (row.key == "Retry")
                return values.startPositionText;
            if (row.key == "CityWord")
                return values.cityNames;
            if (row.key == "FreeWord")
                return values.freeWords;
            return std::to_string(values.prefecture1);
        };
        EXPECT_EQ(member(ReadSettings(ini)), row.window);
        EXPECT_EQ(FirstInvalidSettingsKey(ReadSettings(ini, false)), row.refused);
    }
}

// A save that fails part-way (the file size limit reached while the new file
// is written) leaves the old file whole, and says so.
TEST(SettingsFile, AFailedSaveLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("km.ini").toStdString();
    SettingsValues old = FirstStartSettings();
    old.cityNames = Sjis("千代田区");
    ASSERT_TRUE(WriteSettingsFile(path, old));
    const std::string before = FileBytes(path);
    ASSERT_GT(before.size(), 200u);

    SettingsValues changed = old;
    changed.freeWords = std::string(100, 'x');
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteSettingsFile(path, changed);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_TRUE(WriteSettingsFile(path, changed));
    EXPECT_EQ(ReadSettingsFile(path)->freeWords, std::string(100, 'x'));
}
