#include "run/IniFile.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace kenmori;

namespace {

TEST(IniFile, ReadsAsTheProfileFunctionsDo)
{
    IniFile ini;
    ini.loadFromBytes("; comment\r\n[config]\r\n  region1 = 13 \r\nJobNo2=\"0042\"\nHex=0x1F\n"
                      "Word=abc\nNeg=-2\nBig=99999999999\nEmpty=\n[Site]\nBaseAddress=http://127.0.0.1:8080\n");
    EXPECT_EQ(ini.readInteger("Config", "Region1", 0), 13);
    EXPECT_EQ(ini.readString("CONFIG", "jobno2", "x"), "0042");
    EXPECT_EQ(ini.readInteger("Config", "Hex", 0), 31);
    EXPECT_EQ(ini.readInteger("Config", "Word", 7), 7);
    EXPECT_EQ(ini.readInteger("Config", "Neg", 0), -2);
    EXPECT_EQ(ini.readInteger("Config", "Big", 5), 5);
    EXPECT_EQ(ini.readInteger("Config", "Empty", 4), 4);
    EXPECT_EQ(ini.readString("Config", "Empty", "x"), "");
    EXPECT_EQ(ini.readString("Config", "Missing", "fallback"), "fallback");
    EXPECT_TRUE(ini.readBool("Config", "Hex", false));
    EXPECT_FALSE(ini.readBool("Config", "Missing", false));
    // A key of another section is not found through this one.
    EXPECT_FALSE(ini.value("Config", "BaseAddress").has_value());
    EXPECT_EQ(ini.readString("site", "baseaddress", ""), "http://127.0.0.1:8080");
}

TEST(IniFile, WritingKeepsForeignLinesAndSections)
{
    const std::string foreign = "[Site]\r\nBaseAddress=http://127.0.0.1:1\r\n; " + Sjis("メモ") + "\r\n";
    IniFile ini;
    ini.loadFromBytes("[Config]\r\nRegion1=1\r\nUnknown=x\r\n\r\n" + foreign);
    ini.writeInteger("Config", "Region1", 13);
    ini.writeString("Config", "CityWord", Sjis("新宿区 渋谷区"));
    ini.writeBool("New", "Flag", true);
    EXPECT_EQ(ini.toBytes(),
              "[Config]\r\nRegion1=13\r\nUnknown=x\r\nCityWord=" + Sjis("新宿区 渋谷区") + "\r\n\r\n" + foreign
                  + "\r\n[New]\r\nFlag=1\r\n");

    QTemporaryDir dir;
    const std::filesystem::path path = dir.filePath("km.ini").toStdString();
    ASSERT_TRUE(ini.save(path));
    IniFile again;
    ASSERT_TRUE(again.load(path));
    EXPECT_EQ(again.toBytes(), ini.toBytes());
    EXPECT_FALSE(again.load(dir.filePath("missing.ini").toStdString()));
    EXPECT_EQ(again.toBytes(), "");
}

} // namespace
