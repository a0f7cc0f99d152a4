// Reading a result-list page: count, error box, detail links, pager fields,
// whatever the page's line layout.

#include "DemoLayout.h"
#include "pages/ListPageScan.h"
#include "support/PageVariants.h"
#include "support/TestEnvironment.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kenmori;

// Where the search's answer comes from.
static constexpr std::string_view kPageAddress = "https://www.hellowork.mhlw.go.jp/kensaku/GECA110030.do";

static HitCountScan CountOf(std::string_view html)
{
    return ReadListPage(html, kPageAddress, "B").count;
}

// Count, links and pager of a page as one comparable text.
static std::string ListReading(std::string_view html)
{
    const ListPageReading page = ReadListPage(html, kPageAddress, "B");
    std::string reading = "count " + std::to_string(page.count.totalCount)
        + (page.count.unknownJobSeeker ? " unknown" : "");
    for (const std::string& link : page.detailLinks)
        reading += "\n" + link;
    reading += "\npager " + std::to_string(page.pager.nowPage.value_or(0)) + " "
        + std::to_string(page.pager.naviCount.value_or(0)) + "\nsize " + std::to_string(page.pageSize);
    if (page.nextPage)
        reading += "\nnext " + page.nextPage->path + " " + page.nextPage->body;
    return reading;
}

TEST(ListPageScan, HitCountAcceptsDigitGroupingAndRejectsAnythingElse)
{
    EXPECT_EQ(ParseHitCount("57"), 57);
    EXPECT_EQ(ParseHitCount("1,234"), 1234);
    EXPECT_EQ(ParseHitCount("12,345,678"), 12345678);
    EXPECT_EQ(ParseHitCount("0"), 0);
    for (const char* text :
         {"", "1,23", "1234,567", ",123", "1,", "1,,234", "-5", "+5", "5 ", "12a", "99999999999", "1.234"})
        EXPECT_EQ(ParseHitCount(text), 0) << text;
}

TEST(ListPageScan, CountParagraphIsReadUpToTheFirstCountMark)
{
    EXPECT_EQ(CountOf("<html><p class=\"fs13 numberJobText_layout\">\n  <span class=\"fb\">1,234</span>件中"
                      "&nbsp;1～30&nbsp;件を表示</p>")
                  .totalCount,
              1234);
    EXPECT_EQ(CountOf("<p class=\"numberJobText_layout\"> 57 件中 57件</p>").totalCount, 57);
    // Not a paragraph: not the count.
    EXPECT_EQ(CountOf("<div class=\"numberJobText_layout\">57件</div>").totalCount, 0);
    // The first count paragraph ends the search, with or without a count mark.
    EXPECT_EQ(
        CountOf("<p class=\"numberJobText_layout\">57</p><p class=\"numberJobText_layout\">3件</p>").totalCount,
        0);
    EXPECT_EQ(CountOf("<p class=\"numberJobText_layout\">約57件</p>").totalCount, 0);
    EXPECT_FALSE(CountOf("").countFound);
    // The paragraph holds over the hidden input, which serves without one.
    EXPECT_EQ(CountOf("<input type=\"hidden\" name=\"kyujinkensu\" value=\"57\">"
                      "<p class=\"numberJobText_layout\">12件</p>")
                  .totalCount,
              12);
    EXPECT_EQ(CountOf("<input type=\"hidden\" name=\"kyujinkensu\" value=\"57\">").totalCount, 57);
}

TEST(ListPageScan, ErrorBoxNamesTheJobSeekerNumberOrEndsTheSearch)
{
    HitCountScan scan = CountOf("<p class=\"msg_E\">入力された求職番号は存在しません。</p>"
                                "<p class=\"numberJobText_layout\">5件</p>");
    EXPECT_TRUE(scan.unknownJobSeeker);
    EXPECT_EQ(scan.totalCount, 0);
    scan = CountOf(
        "<input type=\"hidden\" name=\"kyujinkensu\" value=\"57\"><p class=\"msg_E\">セッションが切れました。</p>");
    EXPECT_TRUE(scan.errorBox);
    EXPECT_FALSE(scan.unknownJobSeeker);
    EXPECT_EQ(scan.totalCount, 0);
    // msg_Ex is some other class.
    scan = CountOf("<p class=\"msg_Ex\">求職番号</p><p class=\"numberJobText_layout\">5件</p>");
    EXPECT_FALSE(scan.unknownJobSeeker);
    EXPECT_EQ(scan.totalCount, 5);
}

TEST(ListPageScan, DetailLinksAreCutFromTheHrefAndPrefixed)
{
    const std::vector<std::string> links =
        ReadListPage("<a class=\"btn\" id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?screenId=GECA110010&amp;"
                     "action=dispDetailBtn&amp;kJNo=13010-1&amp;kJKbn=1\" target=\"_blank\">詳細を表示</a>"
                     "\t <a id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?kJNo=13010-2&#38;x=1\">詳細</a>"
                     "<a id=\"ID_dispDetailBtn\" href=\"GECA110020.do?kJNo=9\">another screen</a>"
                     "<span><a\n id=\"ID_dispDetailBtn\"\n href=\"./GECA110010.do?kJNo=4\">inside</a></span>"
                     "<a id=\"ID_kyujinhyoBtn\" href=\"./GECA110010.do?kJNo=5\">other button</a>",
                     kPageAddress, "http://127.0.0.1:8080")
            .detailLinks;
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(
        links[0],
        "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13010-1&kJKbn=1");
    EXPECT_EQ(links[1], "http://127.0.0.1:8080/kensaku/GECA110010.do?kJNo=13010-2&x=1");
    EXPECT_EQ(links[2], "http://127.0.0.1:8080/kensaku/GECA110010.do?kJNo=4");
    // Without fwListNaviDisp every posting counts for the page size, also
    // one whose link leads elsewhere.
    EXPECT_EQ(ReadListPage("<a id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?k=1\">a</a>"
                           "<a id=\"ID_dispDetailBtn\" href=\"https://other.example/x\">b</a>",
                           kPageAddress, "B")
                  .pageSize,
              2);
}

TEST(ListPageScan, PagerFieldsAndRequestBody)
{
    PagerFields fields = ReadListPage("<form><input type=\"hidden\" name=\"fwListNowPage\" value=\"3\">"
                                      "<input type=\"hidden\" name=\"fwListLeftPage\" value=\"1\">"
                                      "<input type=\"hidden\" name=\"fwListNaviCount\" value=\"5\">"
                                      "<input type=\"hidden\" name=\"fwListNowPage\" value=\"9\"></form>",
                                      kPageAddress, "B")
                             .pager;
    EXPECT_EQ(fields.nowPage, 3);
    EXPECT_EQ(fields.naviCount, 5);

    fields = ReadListPage("<input type=\"hidden\" name=\"fwListNowPage\" value=\"\">"
                          "<input type=\"hidden\" name=\"fwListNaviCount\" value=\"x7\">",
                          kPageAddress, "B")
                 .pager;
    EXPECT_FALSE(fields.nowPage);
    EXPECT_FALSE(fields.naviCount);

    EXPECT_EQ(BuildPagerRequestBody(1, 2, 7),
              "&screenId=GECA110010&fwListNowPage=1&fwListLeftPage=2&fwListNaviCount=7&fwListNaviBtn1=2");
    EXPECT_EQ(BuildPagerRequestBody(2, 12, 5),
              "&screenId=GECA110010&fwListNowPage=2&fwListLeftPage=12&fwListNaviCount=5&fwListNaviBtn1=12");
}

TEST(ListPageScan, ListsReadTheSameInEveryLayout)
{
    const auto fixture = [](const std::string& name) {
        return ReadFileBytes(std::string(KENMORI_TEST_DATA_DIR) + "/list/" + name);
    };
    EXPECT_EQ(ListReading(fixture("result_page.html")),
              "count 1234\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13010-12345678\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=27020-87654321\n"
              "pager 2 7\nsize 2");
    EXPECT_EQ(ListReading(fixture("result_page_2026.html")),
              "count 57\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13110-11112222\n"
              "pager 1 2\nsize 1");
    for (const std::string name : {"result_page.html", "result_page_2026.html", "result_list_2026.html"}) {
        const std::string html = fixture(name);
        EXPECT_EQ(ListReading(Libxml2Formatted(html)), ListReading(html)) << name;
        EXPECT_EQ(ListReading(SpreadLayout(html)), ListReading(html)) << name;
        EXPECT_EQ(ListReading(OnOneLine(html)), ListReading(html)) << name;
    }
}

// A list as the site sends it since spring 2026: absolute and relative links,
// 50 a page, and a pager made of the submit buttons of the page's one form.
TEST(ListPageScan, TheSpring2026ListGivesItsLinksPageSizeAndPagerForm)
{
    const std::string html = ReadFileBytes(std::string(KENMORI_TEST_DATA_DIR) + "/list/result_list_2026.html");
    const ListPageReading page = ReadListPage(html, "http://127.0.0.1:8080/kensaku/GECA110030.do",
                                              "http://127.0.0.1:8080");
    EXPECT_EQ(page.count.totalCount, 176);
    EXPECT_EQ(page.pageSize, 50);
    const std::vector<std::string> links = {
        "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=1301048716861"
        "&kJKbn=1&jGSHNo=ULnk1bn%2F6ff%2FqBoX7Ecdrw%3D%3D&fullPart=1&iNFTeikyoRiyoDtiID=&kSNo=&newArrivedButtonFlg=0"
        "&tatZngy=1&shogaiKbn=0",
        "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=1304012121212&kJKbn=1",
        "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=1311034343434&kJKbn=1",
    };
    EXPECT_EQ(page.detailLinks, links);
    // A detail button that leads to another host is not followed.
    EXPECT_EQ(page.skippedLinks, std::vector<std::string>{"https://other.example/kensaku/GECA110010.do?kJNo=1"});

    // "次へ＞" pressed: every control a browser sends, in document order.
    ASSERT_TRUE(page.hasPagerForm);
    ASSERT_TRUE(page.nextPage);
    EXPECT_EQ(page.nextPage->path, "/kensaku/GECA110030.do");
    std::vector<std::string> fields;
    SplitText(page.nextPage->body, "&", fields);
    const std::vector<std::string> expected = {
        "todohukenHidden=13",
        "newArrivedCKBox=1",
        "kjKbnRadioBtn=1",
        "freeWordInput=%E4%BA%8B%E5%8B%99+%26+%E7%B5%8C%E7%90%86",
        "freeWordRadioBtn=0",
        "fwListNowPage=1",
        "fwListLeftPage=1",
        "fwListNaviCount=5",
        "fwListNaviDisp=50",
        "fwListNaviSort=1",
        "screenId=GECA110030",
        "action=",
        "maba_vrbs=infTkRiyoDantaiBtn%2CsearchShosaiBtn%2CdispDetailBtn",
        "preCheckFlg=false",
        "fwListNaviDispTop=50",
        "fwListNaviBtnNext=%E6%AC%A1%E3%81%B8%EF%BC%9E",
        "listKjNo0=1301048716861",
        "listKjNo1=1304012121212",
        "listKjNo2=1311034343434",
    };
    EXPECT_EQ(fields, expected);

    // A form that the parser closes early, with the <div> around its start,
    // still owns what follows up to its end tag, as in a browser.
    const ListPageReading misnested = ReadListPage(
        "<div><form action=\"./GECA110030.do\"><input type=\"hidden\" name=\"a\" value=\"1\"></div>"
        "<input type=\"hidden\" name=\"b\" value=\"2\"><input type=\"submit\" name=\"fwListNaviBtnNext\" "
        "value=\"次へ＞\"></form>",
        "http://127.0.0.1:8080/kensaku/GECA110030.do", "http://127.0.0.1:8080");
    ASSERT_TRUE(misnested.nextPage);
    EXPECT_EQ(misnested.nextPage->body, "a=1&b=2&fwListNaviBtnNext=%E6%AC%A1%E3%81%B8%EF%BC%9E");
    // An action of the host alone asks for its root.
    EXPECT_EQ(
        ReadListPage("<form action=\"http://127.0.0.1:8080\"><input type=\"submit\" name=\"fwListNaviBtnNext\" "
                     "value=\"次へ＞\"></form>",
                     "http://127.0.0.1:8080/kensaku/GECA110030.do", "http://127.0.0.1:8080")
            .nextPage->path,
        "/");

    // On the last page "次へ＞" is disabled: the form says there is no next page.
    const ListPageReading last = ReadListPage(
        "<form action=\"GECA110030.do\"><input type=\"submit\" name=\"fwListNaviBtnNext\" value=\"次へ＞\" disabled>"
        "</form>",
        "http://127.0.0.1:8080/kensaku/GECA110030.do", "http://127.0.0.1:8080");
    EXPECT_TRUE(last.hasPagerForm);
    EXPECT_FALSE(last.nextPage);
}
