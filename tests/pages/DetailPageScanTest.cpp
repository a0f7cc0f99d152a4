#include "pages/DetailPageScan.h"
#include "support/DetailTestSupport.h"
#include "pages/PostingSheet.h"

#include <gtest/gtest.h>

static DetailPageScan Scan(const PageLines& page)
{
    DetailPageScan scan = ScanDetailPage(page, {});
    AnswerIndustries(scan.industryNames, {{"卸売業", "A,1,B,2"}}, scan.record);
    return scan;
}

static DetailPageScan ScanFixture(const std::string& name)
{
    const PageLines page = LoadPageLines(DetailFixturePath(name));
    EXPECT_FALSE(page.empty()) << name;
    return Scan(page);
}

TEST(DetailPageScan, WaveDashArrivingAsQuestionMark)
{
    const DetailPageScan scan = ScanFixture("wave_dash.html");
    EXPECT_EQ(U(scan.record[23]), "（1）10時00分～19時00分又は9時～18時の間の8時間程度");
    EXPECT_EQ(U(scan.record[26]), "週5日～6日");
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

    // The message needs its marker and its text, on a "<p " line.
    for (const char* line :
         {"<p class=\"msg_I\">該当する情報はありません。</p>", "<p class=\"msg_E\">混み合っています。</p>",
          "<p class=\"msg_E_x\">該当する情報はありません。</p>",
          "<div class=\"msg_E\">該当する情報はありません。</div>"})
        EXPECT_EQ(Scan(Page({line, ""})).record[0], "") << line;
}

TEST(DetailPageScan, FormInputsBuildThePostingSheetQuery)
{
    // The marker on the very first line; an input without name and value
    // repeats the pair before it; one with an empty value is left out.
    EXPECT_EQ(Scan(Page({
                       "<input type=\"hidden\" name=\"kjhyoKjKbn\" value=\"1\" id=\"ID_kjhyoKjKbn\">",
                       "<input type=\"hidden\" name=\"a\" value=\"x&#x2b;y&#x2B;z&#x3d;\">",
                       "<input type=\"submit\">",
                       "<input type=\"hidden\" name=\"empty\" value=\"\">",
                       "<input type=\"hidden\" name=\"flag\">",
                       "<input type=\"hidden\" value=\"v\">",
                       "<input name=\"b\" value=\"2\">",
                       "</form>",
                       "<input name=\"after\" value=\"3\">",
                       "",
                   }))
                  .postingSheetQuery,
              "&kjhyoKjKbn=1&a=x%2By%2Bz&#x3d;&a=x%2By%2Bz&#x3d;&flag&flag=v&b=2");

    // An opening form tag just before the marker ends the form scan; the
    // form still counts as seen.
    DetailPageScan scan = Scan(Page({"<form action=\"x\">", "<input name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\">",
                                     "<th>職種</th><td>事務</td></tr>", "<tr>", ""}));
    EXPECT_EQ(scan.postingSheetQuery, "");
    EXPECT_EQ(U(scan.record[17]), "事務");

    // A second marker line is ignored once a query was built.
    scan = Scan(Page({"<input name=\"p\" value=\"0\">", "<input name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\">",
                      "</form>", "<input name=\"k\" value=\"2\" id=\"ID_kjhyoKjKbn\">", "</form>", ""}));
    EXPECT_EQ(scan.postingSheetQuery, "&p=0&k=1");

    EXPECT_EQ(PostingSheetUrl("https://h.example", "&k=1"),
              "https://h.example/kensaku/GECA110020.do?&kyujinhyoBtn="
              "%E6%B1%82%E4%BA%BA%E7%A5%A8%E3%82%92%E8%A1%A8%E7%A4%BA&k=1");
}

TEST(DetailPageScan, LaterRowsWinAndKyujinHeadEndsThePage)
{
    const DetailPageScan scan = Scan(Page({
        "<input name=\"p\" value=\"0\">",
        "<input name=\"k\" value=\"1\" id=\"ID_kjhyoKjKbn\">",
        "</form>",
        "<tr>",
        "<th>求人番号</th><td>1</td></tr>",
        "<tr>",
        "<th>求人番号</th><td>2</td></tr>",
        "<tr>",
        "<th>事業所情報</th><td>事業所の意向により公開していません</td></tr>",
        "<tr>",
        "<th>産業分類</th><td>卸売業</td></tr>",
        "<tr class=\"kyujin_head\">",
        "<tr>",
        "<th>職種</th><td>事務</td></tr>",
        "<tr>",
        "",
    }));
    EXPECT_EQ(scan.record[0], "2");
    EXPECT_EQ(U(scan.record[3]), "（事業所名非公開）");
    EXPECT_EQ(U(scan.record[74] + scan.record[75]), "1:B2:卸売業");
    EXPECT_EQ(scan.record[17], "");
}

TEST(DetailPageScan, StopEndsTheScanAfterTheLineInHand)
{
    const PageLines page = LoadPageLines(DetailFixturePath("full_posting.html"));
    // Told to stop from the given stop check (1-based) on.
    const auto scanStoppedAt = [&](int check) {
        int checks = 0;
        return ScanDetailPage(page, [&] { return ++checks >= check; });
    };
    // The first check after which the industry row has been read: the one
    // that follows its line.
    int low = 1;
    int high = 1 << 20;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (scanStoppedAt(middle).industryNames.empty())
            low = middle + 1;
        else
            high = middle;
    }
    const DetailPageScan scan = scanStoppedAt(low);
    EXPECT_EQ(U(scan.record[0]), "13010-12345678");
    ASSERT_EQ(scan.industryNames.size(), 1u);
    EXPECT_EQ(U(scan.industryNames[0]), "事務用機械器具卸売業");
    EXPECT_FALSE(scan.postingSheetQuery.empty());
    for (const std::string& value : scan.record)
        EXPECT_EQ(U(value).find("駐車場あり"), std::string::npos); // the row after the industry
}
