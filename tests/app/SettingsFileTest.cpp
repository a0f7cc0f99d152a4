#include "app/SettingsFile.h"
#include "site/CodePage932.h"
#include "site/SiteAccess.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

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
    EXPECT_EQ(empty.Region1, 0);
    EXPECT_EQ(empty.Retry, "0");
    EXPECT_EQ(empty.CityWord, "");
    EXPECT_FALSE(empty.JobSet1);
    for (const bool ticked : empty.JobList)
        EXPECT_FALSE(ticked);
    for (const bool ticked : FirstStartSettings().JobList)
        EXPECT_TRUE(ticked);

    const std::string city = std::string(99, 'a') + Sjis("区"); // 101 bytes
    IniFile ini;
    ini.loadFromBytes("[Config]\r\nRegion1=0x0D\r\nRegion2=abc\r\nRegion3=-1\r\nJobSet1=2\r\n"
                      "JobSet2=0x0\r\nRetryCheck=1\r\nRetry=123456789\r\nWordCheck=7\r\n"
                      "JobNo2=123456789012\r\nJobCode2=\r\nCityWord=" + city + "\r\n"
                      "FreeWord=\"" + Sjis("看護 夜勤") + "\"\r\nJobList=10\r\n"
                      "[Site]\r\nBaseAddress=http://127.0.0.1:9\r\n");
    const SettingsValues values = ReadSettings(ini);
    EXPECT_EQ(values.Region1, 13);
    EXPECT_EQ(values.Region2, 0);
    EXPECT_EQ(values.Region3, -1);
    EXPECT_TRUE(values.JobSet1);
    EXPECT_FALSE(values.JobSet2);
    EXPECT_TRUE(values.RetryCheck);
    EXPECT_EQ(values.Retry, "1234567");
    EXPECT_EQ(values.WordCheck, 0);
    EXPECT_EQ(values.JobNo2, "12345678");
    EXPECT_EQ(values.JobCode2, "");
    EXPECT_EQ(values.CityWord, std::string(99, 'a'));
    EXPECT_EQ(values.FreeWord, Sjis("看護 夜勤"));
    EXPECT_TRUE(values.JobList[0]);
    EXPECT_FALSE(values.JobList[1]);
    EXPECT_FALSE(values.JobList[2]); // beyond the short list
    EXPECT_EQ(values.BaseAddress, "http://127.0.0.1:9");
}

TEST(SettingsFile, WritesKeysInOrderAndKeepsForeignText)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    std::filesystem::create_directory(folder / "db");
    const auto path = folder / "db" / "km.ini";

    SettingsValues values;
    values.Region1 = -1;
    values.JobIndustry = 99;
    values.JobSet2 = true;
    values.CityWord = Sjis("新宿区 渋谷区");
    values.FreeWord = "a\r\nRegion1=5";
    values.JobNo1 = "12345";
    values.WordCheck = 2;
    values.JobList[1] = true;
    ASSERT_TRUE(WriteSettingsFile(path, values));
    const std::string jobList = "01" + std::string(92, '0');
    EXPECT_EQ(FileBytes(path),
              "[Config]\r\nRegion1=-1\r\nRegion2=0\r\nRegion3=0\r\nJobType=0\r\nJobHaken=0\r\n"
              "JobIndustry=99\r\nJobSet1=0\r\nJobSet2=1\r\nJobSet3=0\r\nRetryCheck=0\r\n"
              "JobCheck=0\r\nCityWord=" + Sjis("新宿区 渋谷区") + "\r\nFreeWord=a  Region1=5\r\n"
              "Retry=0\r\nJobNo1=12345\r\nJobNo2=\r\nJobCode1=\r\nJobCode2=\r\nJobCode3=\r\n"
              "JobCode4=\r\nWordCheck=2\r\nJobList=" + jobList + "\r\n");

    const std::optional<SettingsValues> back = ReadSettingsFile(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Region1, -1);
    EXPECT_EQ(back->CityWord, values.CityWord);
    EXPECT_EQ(back->WordCheck, 2);
    EXPECT_EQ(back->JobList, values.JobList);

    // Keys of the file move nowhere; foreign lines stay byte for byte.
    const std::string foreign = "[Site]\r\nBaseAddress=http://127.0.0.1:1\r\n; " + Sjis("メモ") + "\r\n";
    std::ofstream(path, std::ios::binary) << "[Config]\r\nJobList=1\r\nMine=" << Sjis("値") << "\r\n\r\n" << foreign;
    ASSERT_TRUE(WriteSettingsFile(path, values));
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.rfind("[Config]\r\nJobList=" + jobList + "\r\nMine=" + Sjis("値") + "\r\nRegion1=-1\r\n", 0), 0u);
    EXPECT_TRUE(bytes.ends_with("WordCheck=2\r\n\r\n" + foreign));
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
    const std::string builtIn = SiteBaseAddress();
    IniFile ini;
    ini.loadFromBytes("[Config]\r\nBaseAddress=http://wrong\r\n[Site]\r\nBaseAddress=\r\n");
    ApplySiteAddress(ReadSettings(ini));
    EXPECT_EQ(SiteBaseAddress(), builtIn);

    ini.loadFromBytes("[site]\r\nbaseaddress = http://127.0.0.1:8080/ \r\n");
    ApplySiteAddress(ReadSettings(ini));
    EXPECT_EQ(SiteBaseAddress(), "http://127.0.0.1:8080");
}
