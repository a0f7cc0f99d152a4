// The list readers see the same page whatever line layout the site sends:
// every list, re-laid by libxml2's formatter and by the demonstration site's
// "spread" layout, reads exactly as it reads in the layout it was written in.

#include "DemoGenerator.h"
#include "DemoLayout.h"
#include "DemoPages.h"
#include "text/TextUtils.h"
#include "support/PageVariants.h"
#include "pages/ListPageScan.h"
#include "pages/PageLayout.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

namespace {

std::string ListReading(const PageLines& lines)
{
    const HitCountScan count = ScanHitCount(lines, {});
    const PagerFields pager = ScanPagerFields(lines);
    std::string reading = "count " + std::to_string(count.totalCount) + (count.unknownJobSeeker ? " unknown" : "");
    for (const std::string& link : ScanDetailLinks(lines, "B"))
        reading += "\n" + link;
    return reading + "\npager " + std::to_string(pager.nowPage.value_or(0)) + " "
        + std::to_string(pager.naviCount.value_or(0));
}

std::vector<std::filesystem::path> Fixtures(const std::string& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KENMORI_TEST_DATA_DIR) + "/" + folder)) {
        if (entry.path().extension() == ".html")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(PageLayout, EveryListReadsTheSameInEveryLayout)
{
    for (const std::filesystem::path& path : Fixtures("list")) {
        SCOPED_TRACE(path.filename().string());
        const std::string html = ReadFileBytes(path);
        const std::string reading = ListReading(ReadPageLines(html));
        EXPECT_EQ(ListReading(ReadPageLines(Libxml2Formatted(html))), reading);
        EXPECT_EQ(ListReading(ReadPageLines(SpreadLayout(html))), reading);
        // A page already in the readers' layout reads as it did unaltered.
        if (path.filename() != "result_page_2026.html") {
            EXPECT_EQ(ListReading(SplitPageLines(html)), reading);
        }
    }
}

TEST(PageLayout, ListsGiveTheirCountLinksAndPager)
{
    const auto reading = [](const std::string& name) {
        return ListReading(ReadPageLines(ReadFileBytes(std::string(KENMORI_TEST_DATA_DIR) + "/list/" + name)));
    };
    EXPECT_EQ(reading("result_page.html"),
              "count 1234\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13010-12345678\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=27020-87654321\n"
              "pager 2 7");
    // Lists since spring 2026: no count paragraph, the hidden input instead.
    EXPECT_EQ(reading("result_page_2026.html"),
              "count 57\n"
              "B/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=13110-11112222\n"
              "pager 1 2");
    // The paragraph holds over the hidden input; an error box is no count.
    const PageLines both = ReadPageLines("<p class=\"numberJobText_layout\">12件</p>"
                                         "<input type=\"hidden\" name=\"kyujinkensu\" value=\"57\">");
    EXPECT_EQ(ScanHitCount(both, {}).totalCount, 12);
    const PageLines error = ReadPageLines("<input type=\"hidden\" name=\"kyujinkensu\" value=\"57\">"
                                          "<p class=\"msg_E\">入力された求職番号は存在しません。</p>");
    EXPECT_EQ(ScanHitCount(error, {}).totalCount, 0);
    EXPECT_TRUE(ScanHitCount(error, {}).unknownJobSeeker);
}

TEST(PageLayout, MalformedPagesGiveLinesNotFaults)
{
    EXPECT_EQ(NormalizePageLayout(""), "");
    EXPECT_EQ(NormalizePageLayout(std::string_view("<p class=\"a\">x\0<p>y", 19)),
              "<html>\n<body>\n<p class=\"a\">x</p>\n</body>\n</html>\n");
    // Bytes that are not UTF-8 are left out; the text around them stays.
    EXPECT_EQ(SplitPageLines(NormalizePageLayout("<p class=\"a\">a\xFF\xC3z</p>"))[2], "<p class=\"a\">az</p>");
    // A tag cut off at the end of a page that broke off is not completed.
    const PageLines cut = ReadPageLines(
        "<p class=\"a\">x</p>\n<a id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?kJNo=1");
    EXPECT_TRUE(ScanDetailLinks(cut, "B").empty());
    // Nesting deeper than any stack holds.
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<div>";
    EXPECT_NO_THROW(NormalizePageLayout(deep + "x"));
}

// The site's pages need no repair: they take the quick way, which gives the
// lines libxml2's parser gives, in every layout.
TEST(PageLayout, RegularPagesTakeTheQuickWayWithTheParsersLines)
{
    for (const std::string folder : {"detail", "list"}) {
        for (const std::filesystem::path& path : Fixtures(folder)) {
            SCOPED_TRACE(path.filename().string());
            const std::string html = ReadFileBytes(path);
            for (const std::string& page : {html, SpreadLayout(html)}) {
                EXPECT_TRUE(IsRegularMarkup(page));
                EXPECT_EQ(NormalizePageLayout(page), NormalizePageLayoutByParser(page));
            }
            const std::string formatted = Libxml2Formatted(html);
            EXPECT_EQ(NormalizePageLayout(formatted), NormalizePageLayoutByParser(formatted));
        }
    }
}

// So do the demonstration site's pages, whose postings each fill their
// sections differently.
TEST(PageLayout, DemonstrationPagesTakeTheQuickWayWithTheParsersLines)
{
    std::vector<DemoPosting> postings;
    std::vector<std::string> pages;
    for (int index = 0; index < 60; ++index) {
        GeneratedPosting generated = GeneratePosting(index);
        postings.push_back(generated.posting);
        pages.push_back(std::move(generated.detailPage));
    }
    std::vector<const DemoPosting*> hits;
    for (const DemoPosting& posting : postings)
        hits.push_back(&posting);
    for (int page = 1; page <= 3; ++page)
        pages.push_back(ResultListPage(hits, page));
    for (const std::string& html : pages) {
        for (const std::string& page : {html, SpreadLayout(html)}) {
            ASSERT_TRUE(IsRegularMarkup(page)) << page;
            ASSERT_EQ(NormalizePageLayout(page), NormalizePageLayoutByParser(page)) << page;
        }
    }
}

// Markup at the edges of what the quick way takes: either way, the lines
// are the parser's.
TEST(PageLayout, MarkupAtTheEdgesGivesTheParsersLines)
{
    const struct {
        std::string_view body;
        bool regular;
    } cases[] = {
        {"<div>a</div></div></span>", true},        // end tags nothing opened
        {"<div>a </tr>b <!-- c --> d</div>", true}, // one text on either side of one
        {"<p>a<div>b</div></p>", false},            // a block ends the paragraph
        {"<input type=\"checkbox\" checked value=\"\" disabled=\"\">", true},
        {"<P CLASS=\"a\">x</P>", false},
        {"<p>a <!-- c --> <b>b</b> <i>c</i>\n <img src=\"i\"> <span>y</span></p>", true},
        {"<th>x</th> <img src=\"a\"> <br> <span>y</span>", true},
        {"<script>if (a</b) x = '</div>';</script><p>y</p>", true},
        {"<a href=x/>y</a><a href='q\"r'>z</a>", true},
        {"<div>a &lt; b & c &#x2b;</div><div title=\"a&amp;b\">d</div>", true},
        {"<p>x", false},
        {"x < y", false},
        {"<p>\tx\r\n  y </p><pre>\n a\n</pre>", true},
        {"<td>長い<wbr>説明</td>", false},
        {"<table><tr><td>a<td>b</tr></table>", false},
        {"<li>a<li>b", false},
        {"<div/><p/>x", true},
        {"<p>abcdefgh\tijklmnop\r\nqrstuvwx\x7f</p>", true},
        {"<p>abcdefgh\x0bijklmnop</p>", false}, // the parser drops control characters
        {"<p>abcdefghijklmnop\x0c</p>", false},
        {"<p>\xef\xbf\xbf</p>", false},
        {"<div>a</divx></div\n>", true}, // an end tag that begins with the open element's name
        {"<span title='a\tb\n\"c<d>' class=x>y</span><a class=c value=v href=h name=n>z</a>", true},
        {"<custom-element-with-a-long-name>x</custom-element-with-a-long-name>", true},
        {"<p>abcdefghi >k</p><div>abcdefghi jk \n</div>", true}, // the last bytes of a text
    };
    for (const auto& [body, regular] : cases) {
        const std::string page = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>" + std::string(body)
            + "</body></html>";
        SCOPED_TRACE(page);
        EXPECT_EQ(IsRegularMarkup(page), regular);
        EXPECT_EQ(NormalizePageLayout(page), NormalizePageLayoutByParser(page));
    }
    // A control character the parser drops sends the page its way wherever
    // the character stands among ASCII and Japanese text; a tab never does.
    for (size_t at = 0; at <= 17; ++at) {
        for (const char control : {'\x01', '\t'}) {
            std::string text = "abcdefghijklmnopq";
            text.insert(at, 1, control);
            const std::string page = "<html><body><p>" + text + "日本語</p></body></html>";
            SCOPED_TRACE(page);
            EXPECT_EQ(IsRegularMarkup(page), control == '\t');
            EXPECT_EQ(NormalizePageLayout(page), NormalizePageLayoutByParser(page));
        }
    }
    // Outside <body> or without <html>, the parser adds what is missing.
    for (const std::string_view page :
         {"<p>x</p>", "<html><head></head>text<body></body></html>",
          "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html><body> <a>x</a> "
          "<a>y</a></body></html>"}) {
        EXPECT_FALSE(IsRegularMarkup(page)) << page;
        EXPECT_EQ(NormalizePageLayout(page), NormalizePageLayoutByParser(page)) << page;
    }
}

// The parser lets an element it does not know as empty hold the text after
// it; that text is written after the element, not lost with it.
TEST(PageLayout, TextAfterAnUnknownEmptyElementStays)
{
    const PageLines lines = ReadPageLines("<html><body><table><tr><th>職種</th><td>長い<wbr>説明</td></tr></table>"
                                          "</body></html>");
    const std::string all = std::accumulate(lines.begin(), lines.end(), std::string());
    EXPECT_NE(all.find("長い<wbr>説明"), std::string::npos) << all;
}
