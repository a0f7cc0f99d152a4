#include "text/CodePage932.h"
#include "run/SearchRequest.h"

#include <gtest/gtest.h>

using namespace kenmori;

namespace {

const std::string kHead = "&tatZngyCKBox=1&jkgiRadioBtn=0&kJNoJo1=&searchClear=0&screenId=GECA110030"
                          "&maba_vrbs=infTkRiyoDantaiBtn%2CsearchKantanBtn%2CsearchBtn%2CsearchNoBtn"
                          "%2CsearchClearBtn%2CdispDetailBtn%2CkyujinhyoBtn%2CcheckedKyujinViewBtn"
                          "%2CcheckedKyujinhyoIppanBtn%2CcheckedKyujinhyoDsBtn&preCheckFlg=false"
                          "&searchBtn=+%E6%A4%9C%E7%B4%A2%E3%81%99%E3%82%8B";
const std::string kDefaultKind = "&tnseiRadioBtn=0&jginSuRadioBtn=0&kjKbnRadioBtn=1";

// The part of the body after the fixed block and the kind of posting.
std::string Conditions(const SearchConditions& c)
{
    const std::string body = BuildSearchRequestBody(c);
    EXPECT_EQ(body.rfind(kHead + kDefaultKind, 0), 0u) << body;
    return body.substr(kHead.size() + kDefaultKind.size());
}

TEST(SearchRequest, DefaultsGiveTheFixedBlockAndNothingMore)
{
    EXPECT_EQ(BuildSearchRequestBody({}), kHead + kDefaultKind);
}

TEST(SearchRequest, KindOfPosting)
{
    SearchConditions c;
    c.postingKind = 3;
    EXPECT_EQ(BuildSearchRequestBody(c), kHead + "&kjKbnRadioBtn=2");
    c.postingKind = 8;
    EXPECT_EQ(BuildSearchRequestBody(c), kHead + "&tnseiRadioBtn=0&jginSuRadioBtn=0&kjKbnRadioBtn=5&sGSYACKBox=2");
    c.postingKind = 1;
    EXPECT_EQ(BuildSearchRequestBody(c), kHead + kDefaultKind + "&ippanCKBox=1");
    c.postingKind = -1; // nothing selected counts as index 0
    EXPECT_EQ(BuildSearchRequestBody(c), kHead + kDefaultKind);
}

TEST(SearchRequest, DispatchJobSeekerOccupationIndustry)
{
    SearchConditions c;
    c.dispatch = 3;
    c.jobSeekerNumber1 = "13010";
    c.occupation = 5;
    c.industry = 39;
    EXPECT_EQ(Conditions(c), "&hakenUkeoinCKBox=3&kiboSuruSKSU1Hidden=05%2C00&kiboSuruSngBrui1In=39");
    c.jobSeekerNumber2 = "12345678";
    EXPECT_EQ(Conditions(c),
              "&hakenUkeoinCKBox=3&kSNoJo=13010&kSNoGe=12345678"
              "&kiboSuruSKSU1Hidden=05%2C00&kiboSuruSngBrui1In=39");
}

TEST(SearchRequest, FreeWordsAreEncodedAsTheSiteForm)
{
    SearchConditions c;
    c.freeWords = Utf8ToShiftJis("東京 営業");
    c.wordsMode = 1;
    EXPECT_EQ(Conditions(c), "&freeWordRadioBtn=1&freeWordInput=%E6%9D%B1%E4%BA%AC+%E5%96%B6%E6%A5%AD");
    c.freeWords = Utf8ToShiftJis("東京　営業");
    c.wordsMode = 0;
    EXPECT_EQ(Conditions(c), "&freeWordRadioBtn=0&freeWordInput=%E6%9D%B1%E4%BA%AC%E3%80%80%E5%96%B6%E6%A5%AD");
    c.freeWords = "A+B";
    c.wordsMode = 2;
    EXPECT_EQ(Conditions(c), "&nOTKNSKFreeWordInput=A%2BB");
    c.wordsMode = 7;
    EXPECT_EQ(Conditions(c), "");
    c.freeWords = "";
    c.wordsMode = 1;
    EXPECT_EQ(Conditions(c), "");
    c.freeWords = " ";
    EXPECT_EQ(Conditions(c), "&freeWordRadioBtn=1&freeWordInput=+");

    EXPECT_EQ(EncodeFormValue("aZ09!$'()*-._@~&%/"), "aZ09!$'()*-._@%7E%26%25%2F");
    EXPECT_EQ(EncodeFormValue(Utf8ToShiftJis("～")), "%EF%BD%9E");
}

TEST(SearchRequest, CategoryCodesAndRecency)
{
    SearchConditions c;
    c.categoryMinor1 = "05";
    EXPECT_EQ(Conditions(c), "&sKGYBRUIGe1=05");
    c.categoryMajor1 = "095";
    c.categoryMajor2 = "1";
    c.categoryMinor2 = "99";
    c.recentTwoDays = true;
    EXPECT_EQ(Conditions(c), "&sKGYBRUIJo1=095&sKGYBRUIGe1=05&sKGYBRUIJo2=1&sKGYBRUIGe2=99&newArrivedCKBox=1");
    c = {};
    c.recentTwoDays = c.recentWeek = true;
    EXPECT_EQ(Conditions(c), "&newArrivedCKBox=2");
}

TEST(SearchRequest, PrefecturesAndCities)
{
    SearchConditions c;
    c.prefecture1 = 13;
    c.prefecture3 = 27;
    EXPECT_EQ(Conditions(c), "&todohukenHidden=13%2C27");
    c = {};
    c.prefecture3 = 1;
    EXPECT_EQ(Conditions(c), "&todohukenHidden=01");
    c = {};
    c.prefecture1 = 13;
    c.cityCodes = "13101%2C13102";
    c.prefecture2 = 14;
    EXPECT_EQ(Conditions(c), "&todohukenHidden=13101%2C13102%2C14");
    c = {};
    c.prefecture1 = c.prefecture2 = c.prefecture3 = 48;
    EXPECT_EQ(Conditions(c), "&todohukenHidden=48%2C48%2C48");
    c = {};
    c.prefecture1 = -1; // out-of-range index from the settings file
    EXPECT_EQ(Conditions(c), "");
}

TEST(SearchRequest, FieldsComeInTheSiteOrder)
{
    SearchConditions c;
    c.prefecture1 = 13;
    c.dispatch = 1;
    c.jobSeekerNumber1 = "1";
    c.jobSeekerNumber2 = "2";
    c.occupation = 14;
    c.industry = 99;
    c.freeWords = "x";
    c.categoryMinor2 = "9";
    c.recentWeek = true;
    EXPECT_EQ(Conditions(c),
              "&hakenUkeoinCKBox=1&kSNoJo=1&kSNoGe=2&kiboSuruSKSU1Hidden=14%2C00"
              "&kiboSuruSngBrui1In=99&freeWordRadioBtn=0&freeWordInput=x&sKGYBRUIGe2=9"
              "&newArrivedCKBox=2&todohukenHidden=13");
}

} // namespace
