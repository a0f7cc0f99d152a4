// Reading a result-list page: count, error box, detail links, pager fields,
// whatever the page's line layout.

#include "DemoLayout.h"
#include "pages/ListPageScan.h"
#include "support/PageVariants.h"
#include "support/TestEnvironment.h"
#include "text/CodePage932.h"

#include <gtest/gtest.h>

#include <filesystem>

static HitCountScan CountOf(std::string_view html)
{
    return ReadListPage(html, "B").count;
}

// Count, links and pager of a page as one comparable text.
static std::string ListReading(std::string_view html)
{
    const ListPageReading page = ReadListPage(html, "B");
    std::string reading = "count " + std::to_string(page.count.totalCount)
        + (page.count.unknownJobSeeker ? " unknown" : "");
    for (const std::string& link : page.detailLinks)
        reading += "\n" + link;
    return reading + "\npager " + std::to_string(page.pager.nowPage.value_or(0)) + " "
        + std::to_string(page.pager.naviCount.value_or(0));
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
                     "\t <a id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?kJNo=13010-2&AMP;x=1\">詳細</a>"
                     "<a id=\"ID_dispDetailBtn\" href=\"GECA110010.do\">no slash</a>"
                     "<span><a\n id=\"ID_dispDetailBtn\"\n href=\"./GECA110010.do?kJNo=4\">inside</a></span>"
                     "<a id=\"ID_kyujinhyoBtn\" href=\"./GECA110010.do?kJNo=5\">other button</a>",
                     "http://127.0.0.1:8080")
            .detailLinks;
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(
        links[0],
        "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13010-1&kJKbn=1");
    // The replacement ignores case.
    EXPECT_EQ(links[1], "http://127.0.0.1:8080/kensaku/GECA110010.do?kJNo=13010-2&x=1");
    EXPECT_EQ(links[2], "http://127.0.0.1:8080/kensaku/GECA110010.do?kJNo=4");
}

TEST(ListPageScan, PagerFieldsAndRequestBody)
{
    PagerFields fields = ReadListPage("<form><input type=\"hidden\" name=\"fwListNowPage\" value=\"3\">"
                                      "<input type=\"hidden\" name=\"fwListLeftPage\" value=\"1\">"
                                      "<input type=\"hidden\" name=\"fwListNaviCount\" value=\"5\">"
                                      "<input type=\"hidden\" name=\"fwListNowPage\" value=\"9\"></form>",
                                      "B")
                             .pager;
    EXPECT_EQ(fields.nowPage, 3);
    EXPECT_EQ(fields.naviCount, 5);

    fields = ReadListPage("<input type=\"hidden\" name=\"fwListNowPage\" value=\"\">"
                          "<input type=\"hidden\" name=\"fwListNaviCount\" value=\"x7\">",
                          "B")
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
              "pager 2 7");
    EXPECT_EQ(ListReading(fixture("result_page_2026.html")),
              "count 57\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13110-11112222\n"
              "pager 1 2");
    for (const std::string name : {"result_page.html", "result_page_2026.html"}) {
        const std::string html = fixture(name);
        EXPECT_EQ(ListReading(Libxml2Formatted(html)), ListReading(html)) << name;
        EXPECT_EQ(ListReading(SpreadLayout(html)), ListReading(html)) << name;
        EXPECT_EQ(ListReading(OnOneLine(html)), ListReading(html)) << name;
    }
}
