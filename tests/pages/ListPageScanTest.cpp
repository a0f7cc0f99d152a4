// Reading a result-list page: count, error box, detail links, pager fields.

#include "text/CodePage932.h"
#include "pages/ListPageScan.h"

#include <gtest/gtest.h>

static PageLines Lines(std::initializer_list<const char*> lines)
{
    return PageLines(lines.begin(), lines.end());
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
    const StopRequested never;
    const auto count = [&](std::initializer_list<const char*> lines) {
        return ScanHitCount(Lines(lines), never).totalCount;
    };
    EXPECT_EQ(
        count({"<html>",
               "  <p class=\"fs13 numberJobText_layout\"><span class=\"fb\">1,234</span>件中 1～30件を表示</p>"}),
        1234);
    EXPECT_EQ(count({"<p class=\"numberJobText_layout\"> 57 件中 57件</p>"}), 57);
    // Not a paragraph line: not the count.
    EXPECT_EQ(count({"<div class=\"numberJobText_layout\">57件</div>"}), 0);
    // The first count paragraph ends the scan, with or without a count mark.
    EXPECT_EQ(count({"<p class=\"numberJobText_layout\">57</p>", "<p class=\"numberJobText_layout\">3件</p>"}), 0);
    EXPECT_EQ(count({"<p class=\"numberJobText_layout\">約57件</p>"}), 0);
    EXPECT_EQ(count({"<p class=\"numberJobText_layout\">\xFF 57件</p>"}), 0); // not UTF-8
    EXPECT_EQ(count({}), 0);
}

TEST(ListPageScan, ErrorBoxNamesTheJobSeekerNumberOrEndsTheScan)
{
    const StopRequested never;
    HitCountScan scan = ScanHitCount(Lines({"<p class=\"msg_E\">入力された求職番号は存在しません。</p>",
                                            "<p class=\"numberJobText_layout\">5件</p>"}),
                                     never);
    EXPECT_TRUE(scan.unknownJobSeeker);
    EXPECT_EQ(scan.totalCount, 0);

    scan = ScanHitCount(
        Lines({"<p class=\"msg_E\">セッションが切れました。</p>", "<p class=\"numberJobText_layout\">5件</p>"}),
        never);
    EXPECT_FALSE(scan.unknownJobSeeker);
    EXPECT_EQ(scan.totalCount, 0);

    // msg_E without its quotes is some other class.
    scan = ScanHitCount(Lines({"<p class=\"msg_Ex\">求職番号</p>", "<p class=\"numberJobText_layout\">5件</p>"}),
                        never);
    EXPECT_FALSE(scan.unknownJobSeeker);
    EXPECT_EQ(scan.totalCount, 5);
}

TEST(ListPageScan, StopEndsTheCountScanAfterTheLineInHand)
{
    int polls = 0;
    const StopRequested stopAtOnce = [&] {
        ++polls;
        return true;
    };
    const PageLines page = Lines({"<html>", "<body>", "<p class=\"numberJobText_layout\">5件</p>"});
    EXPECT_EQ(ScanHitCount(page, stopAtOnce).totalCount, 0);
    EXPECT_EQ(polls, 1);
    // The count on the first line is read before the stop is looked at.
    EXPECT_EQ(ScanHitCount(Lines({"<p class=\"numberJobText_layout\">5件</p>"}), stopAtOnce).totalCount, 5);
}

TEST(ListPageScan, DetailLinksAreCutFromTheHrefAndPrefixed)
{
    const PageLines page = Lines({
        "<a class=\"btn\" id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?screenId=GECA110010&amp;action=dispDetailBtn&amp;kJNo=13010-1&amp;kJKbn=1\" target=\"_blank\">詳細を表示</a>",
        "\t <a id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?kJNo=13010-2&AMP;x=1\">詳細</a>",
        "<a id=\"ID_dispDetailBtn\" href=\"GECA110010.do\">no slash",
        "<a id=\"ID_dispDetailBtn\" href=./GECA110010.do?kJNo=3>no closing quote",
        "<span><a id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?kJNo=4\">not first</a></span>",
        "<a id=\"ID_kyujinhyoBtn\" href=\"./GECA110010.do?kJNo=5\">other button</a>",
        "<A id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?kJNo=6\">capital</A>",
    });
    const std::vector<std::string> links = ScanDetailLinks(page, "http://127.0.0.1:8080");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(
        links[0],
        "http://127.0.0.1:8080/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13010-1&kJKbn=1");
    // The replacement ignores case.
    EXPECT_EQ(links[1], "http://127.0.0.1:8080/kensaku/GECA110010.do?kJNo=13010-2&x=1");
}

TEST(ListPageScan, PagerFieldsAndRequestBody)
{
    PagerFields fields = ScanPagerFields(Lines({
        "<form>",
        "<input type=\"hidden\" name=\"fwListNowPage\" value=\"3\">",
        "<input type=\"hidden\" name=\"fwListLeftPage\" value=\"1\">",
        "  <input type=\"hidden\" name=\"fwListNaviCount\" value=\"5\">",
        "<input type=\"hidden\" name=\"fwListNowPage\" value=\"9\">",
    }));
    EXPECT_EQ(fields.nowPage, 3);
    EXPECT_EQ(fields.naviCount, 5);

    fields = ScanPagerFields(Lines({"<input type=\"hidden\" name=\"fwListNowPage\" value=\"\">",
                                    "<input type=\"hidden\" name=\"fwListNaviCount\" value=\"x7\">"}));
    EXPECT_FALSE(fields.nowPage);
    EXPECT_FALSE(fields.naviCount);

    EXPECT_EQ(BuildPagerRequestBody(1, 2, 7),
              "&screenId=GECA110010&fwListNowPage=1&fwListLeftPage=2&fwListNaviCount=7&fwListNaviBtn1=2");
    EXPECT_EQ(BuildPagerRequestBody(2, 12, 5),
              "&screenId=GECA110010&fwListNowPage=2&fwListLeftPage=12&fwListNaviCount=5&fwListNaviBtn1=12");
}
