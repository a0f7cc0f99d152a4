#include "pages/DetailPageScan.h"
#include "support/DetailTestSupport.h"
#include "pages/PostingSheet.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kenmori;

static DetailPageScan Scan(std::string_view html)
{
    DetailPageScan scan = ScanDetailPage(html, {});
    AnswerIndustries(scan.industryNames, {{"卸売業", "A,1,B,2"}}, scan.record);
    return scan;
}

static DetailPageScan ScanFixture(const std::string& name)
{
    const std::string html = ReadFileBytes(DetailFixturePath(name));
    EXPECT_FALSE(html.empty()) << name;
    return Scan(html);
}

// The posting-sheet form, then rows.
static std::string FormAndRows(const std::string& rows)
{
    return "<form><input type=\"hidden\" name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\"></form><table>" + rows
        + "</table>";
}

TEST(DetailPageScan, WaveDashArrivingAsQuestionMark)
{
    const DetailPageScan scan = ScanFixture("wave_dash.html");
    EXPECT_EQ(Shown(scan.record[23]), "（1）10時00分～19時00分又は9時～18時の間の8時間程度");
    EXPECT_EQ(Shown(scan.record[26]), "週5日～6日");
    // The UTF-8 output keeps the page's own wave dash.
    EXPECT_EQ(Shown(scan.record[23], TextEncoding::Utf8), "（1）10時00分〜19時00分又は9時〜18時の間の8時間程度");
    EXPECT_EQ(U(scan.record[5]), "店長 大阪　次郎");
}

TEST(DetailPageScan, DeletedPostingAndLabelsAboveTheForm)
{
    DetailPageScan scan = ScanFixture("deleted_posting.html");
    JobRecord expected;
    expected[0] = S("（削除済み）");
    expected[3] = S("（事業所名非公開）"); // from a row before the message
    EXPECT_EQ(scan.record, expected);
    EXPECT_EQ(scan.postingSheetQuery, "");

    scan = ScanFixture("labels_above_form.html");
    expected = {};
    expected[17] = S("販売スタッフ");
    EXPECT_EQ(scan.record, expected);
    EXPECT_EQ(scan.postingSheetQuery, "&kJNo=13010-11112222&kjhyoKjKbn=2");

    // The message is a paragraph of class msg_E that says so.
    for (const char* message :
         {"<p class=\"msg_I\">該当する情報はありません。</p>", "<p class=\"msg_E\">混み合っています。</p>",
          "<p class=\"msg_E_x\">該当する情報はありません。</p>",
          "<div class=\"msg_E\">該当する情報はありません。</div>"})
        EXPECT_EQ(Scan(message).record[0], "") << message;
    EXPECT_EQ(U(Scan("<p class=\"box msg_E\">\n  <span>該当する情報は</span>ありません。\n</p>").record[0]),
              "（削除済み）");
}

TEST(DetailPageScan, TheFormsInputsBuildThePostingSheetQuery)
{
    // As a browser submits the form: named inputs with a value, checked
    // boxes only, no buttons; wherever the marker stands in it.
    EXPECT_EQ(
        Scan("<form><input type=\"hidden\" name=\"a\" value=\"x&#x2b;y&#x2B;z&#x3d;\">"
             "<div><input type=\"hidden\" value=\"1\" id=\"ID_kjhyoKjKbn\"\n name=\"kjhyoKjKbn\"></div>"
             "<input type=\"submit\" name=\"s\" value=\"送信\"><input type=\"hidden\" name=\"empty\" value=\"\">"
             "<input type=\"hidden\" name=\"flag\"><input type=\"checkbox\" name=\"c\" value=\"1\">"
             "<input type=\"checkbox\" name=\"d\" value=\"2\" checked><input name=\"b\" value=\" 2 \"></form>"
             "<input name=\"after\" value=\"3\">")
            .postingSheetQuery,
        "&a=x%2By%2Bz&#x3d;&kjhyoKjKbn=1&d=2&b=2");
    // A value over two lines keeps the address on one.
    EXPECT_EQ(Scan("<form><input name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\"><input name=\"m\" value=\"a\r\n b\">"
                   "</form>")
                  .postingSheetQuery,
              "&k=1&m=a%0D%0A%20b");
    // A marker in no form takes the inputs around it.
    EXPECT_EQ(Scan("<div><input name=\"p\" value=\"0\"><input name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\"></div>"
                   "<input name=\"other\" value=\"2\">")
                  .postingSheetQuery,
              "&p=0&k=1");
    // A second marker is ignored once a query was built.
    EXPECT_EQ(Scan("<form><input name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\"></form>"
                   "<form><input name=\"k\" value=\"2\" id=\"ID_kjhyoKjKbn\"></form>")
                  .postingSheetQuery,
              "&k=1");
    EXPECT_EQ(PostingSheetUrl("https://h.example", "&k=1"),
              "https://h.example/kensaku/GECA110020.do?&kyujinhyoBtn="
              "%E6%B1%82%E4%BA%BA%E7%A5%A8%E3%82%92%E8%A1%A8%E7%A4%BA&k=1");
}

TEST(DetailPageScan, LaterRowsWinAndAnotherPostingsHeadEndsThePage)
{
    const DetailPageScan scan = Scan(
        FormAndRows("<tr><th>求人番号</th><td>1</td></tr>"
                    "<tr><th>求人番号</th><td>2</td></tr>"
                    "<tr><th>事業所情報</th><td>事業所の意向により公開していません</td></tr>"
                    "<tr><th>事業所名</th><td><div>ケンモリ</div><div>検森</div></td></tr>"
                    "<tr><th>求人に関する特記事項</th><td><div>面接は本社で</div>"
                    "<div>所在地は事業所の意向により公開していません</div></td></tr>"
                    "<tr><th>産業分類</th><td>卸売業</td></tr>"
                    "<tr class=\"x kyujin_head\"><td>ほかの求人</td></tr>"
                    "<tr><th>職種</th><td>事務</td></tr>"));
    EXPECT_EQ(scan.record[0], "2");
    // A later name row names the company; a remark further down does not
    // take the name away again.
    EXPECT_EQ(U(scan.record[3]), "検森");
    EXPECT_EQ(U(scan.record[74] + scan.record[75]), "1:B2:卸売業");
    EXPECT_EQ(scan.record[17], "");
}

TEST(DetailPageScan, RowsOfTheirOwnAndSpannedRows)
{
    // A row in a cell of another is a row of its own, not part of the
    // outer one; a label spanning two rows takes the cells of both.
    const DetailPageScan scan = Scan(FormAndRows(
        "<tr><th>事業内容</th><td><div>卸売</div><table><tr><th>職種</th><td>事務</td></tr></table></td></tr>"
        "<tr><th rowspan=\"2\">就業時間</th><td>９時〜１８時</td></tr><tr><td>残業あり</td></tr>"
        "<tr><th>学歴</th><td>不問</td></tr>"));
    EXPECT_EQ(U(scan.record[15]), "卸売");
    EXPECT_EQ(U(scan.record[17]), "事務");
    EXPECT_EQ(Shown(scan.record[23]), "9時～18時 残業あり");

    // What code page 932 cannot hold: "?" there, itself in UTF-8.
    const DetailPageScan rare = Scan(FormAndRows("<tr><th>職種</th><td>𠮷野家&#x1F600;😀</td></tr>"));
    EXPECT_EQ(Shown(rare.record[17]), "?野家??");
    EXPECT_EQ(Shown(rare.record[17], TextEncoding::Utf8), "𠮷野家😀😀");
    EXPECT_EQ(U(scan.record[63]), "不問");
}

TEST(DetailPageScan, StopEndsTheScanAfterTheRowInHand)
{
    const std::string page = ReadFileBytes(DetailFixturePath("full_posting.html"));
    int checks = 0;
    const DetailPageScan scan = ScanDetailPage(page, [&] { return ++checks >= 3; });
    EXPECT_EQ(U(scan.record[0]), "13010-12345678");
    EXPECT_EQ(U(scan.record[1]), "フルタイム");
    EXPECT_EQ(U(scan.record[2]), "1301-123456-7");
    EXPECT_EQ(scan.record[3], "");
    EXPECT_FALSE(scan.postingSheetQuery.empty());
}
