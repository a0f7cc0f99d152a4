#include "support/DetailTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace kenmori;

// The rule's value for a page whose one row holds cell.
static std::string ValueOf(int slot, std::string_view cell, int shownSlot = -1)
{
    const JobRecord r = RunRule(RowPage(cell), slot);
    return Shown(r[static_cast<size_t>(shownSlot < 0 ? slot : shownSlot)]);
}

TEST(GeneralRule, GluesBreakLinesSpacesOthersAndKeepsToItsRow)
{
    EXPECT_EQ(ValueOf(62, "<div>受発注&nbsp;</div><br>電話応対\n  伝票<br>請求書</div>"),
              "受発注電話応対 伝票請求書");
    EXPECT_EQ(ValueOf(62, "<div>受発注</div><div>伝票</div>\n<p>請求書</p>"), "受発注 伝票 請求書");
    // Nothing of the heading, the next row or the notice after the table.
    EXPECT_EQ(ValueOf(63, "高校"), "高校");
    EXPECT_EQ(ValueOf(63, ""), "");
    // Captions that repeat the label go; others stay with their value.
    EXPECT_EQ(ValueOf(49, "<div class=\"label\">転勤の可能性の有無</div><div>なし</div>"), "なし");
    EXPECT_EQ(ValueOf(59, "<div>マイカー通勤</div><div>可</div>"), "可");
    EXPECT_EQ(ValueOf(60, "<div class=\"fs08 m05\">上限</div><div>月額3万円</div>"), "上限 月額3万円");
    // Buttons, hidden inputs, scripts and comments give no text.
    EXPECT_EQ(ValueOf(11,
                      "<div><a href=\"u\">https://x.example/</a><button type=\"button\">開く</button>"
                      "<input type=\"hidden\" value=\"v\"><script>var a = '<b>';</script><!-- 注 --></div>"),
              "https://x.example/");
}

TEST(GeneralRule, SlotPostProcessing)
{
    const char* address = "<div>〒１６０－００２３\n<br>　東京都新宿区西新宿１－２－３ ビル</div>";
    EXPECT_EQ(ValueOf(7, address), "〒160-0023");
    EXPECT_EQ(ValueOf(7, address, 8), "東京都新宿区西新宿1-2-3 ビル");
    JobRecord old;
    old[7] = "7";
    old[8] = "8";
    const JobRecord r = RunRule(RowPage("〒１６０東京都"), 7, old);
    EXPECT_EQ(r[7] + r[8], "78"); // no space: neither slot changes

    EXPECT_EQ(ValueOf(23, "０９時〜１８時"), "09時～18時");
    // The page's own references are left as they are, to mean a space, a "?".
    EXPECT_EQ(U(RunRule(RowPage("9:00&#xa0;18:00 &#x301C;"), 23)[23]), "9:00&#xa0;18:00 &#x301C;");
    EXPECT_EQ(ValueOf(39, "１２０日?"), "１２０日?");
    EXPECT_EQ(ValueOf(17, "<div>事務<a href=\"#\">職種解説</a></div><div>job tagについて</div>"), "事務");
    EXPECT_EQ(ValueOf(77, "書類選考，面接"), "書類選考、面接");
    EXPECT_EQ(ValueOf(15, "卸売，小売"), "卸売，小売");
}

// Every slot that the general rule or one of its variants fills tidies its
// value as its field needs: figures, choices, or nothing more.
TEST(GeneralRule, FiguresAndChoicesSlotBySlot)
{
    const char* cell = "０９－１８，可";
    const std::set<int> figures{23, 24, 26, 27, 28, 29, 30, 32, 33};
    const std::set<int> choices{51, 52, 77, 78, 79};
    // Slots whose rules read the row another way, or that no row fills.
    const std::set<int> others{3,  4,  5,  7,  8,  9,  10, 17, 21, 22, 25, 31, 35, 36,
                               37, 40, 47, 48, 50, 65, 73, 74, 75, 80, 83, 86, 87};
    for (int slot = 0; slot < kSlotPostingSheetUrl; ++slot) {
        if (others.count(slot))
            continue;
        std::string expected = cell;
        if (figures.count(slot))
            expected = "09-18，可";
        else if (choices.count(slot))
            expected = "０９－１８、可";
        EXPECT_EQ(ValueOf(slot, cell), expected) << slot;
    }
}

TEST(ListRule, JoinsWithIdeographicCommaAndGluesBreakLines)
{
    EXPECT_EQ(ValueOf(36, "<div>あり</div><div>年２回</div><br>（実績）\n<div>計４，０００円〜</div>"),
              "あり、年2回（実績）、計4、000円～");
    // Cells of their own, each with its caption.
    const JobRecord r = RunRule(
        "<table><tr><th>従業員数</th><td><div class=\"fs08 m05\">企業全体</div><div>12人</div></td>"
        "<td><div class=\"fs08 m05\">うち女性</div><div>2人</div></td></tr></table>",
        50);
    EXPECT_EQ(U(r[50]), "企業全体 12人、うち女性 2人");
}

TEST(NameAndAgeRules, NameAfterTheKanaAgeReasonAfterTheRange)
{
    const char* name = "<div class=\"fs13\">ケンモリ\n<br>ショウジ</div><div>検森商事</div>";
    EXPECT_EQ(ValueOf(3, name, 4), "ケンモリショウジ");
    EXPECT_EQ(ValueOf(3, name), "検森商事");
    JobRecord hidden;
    hidden[3] = S("（事業所名非公開）");
    EXPECT_EQ(U(RunRule(RowPage("カナ"), 3, hidden)[3]), "（事業所名非公開）");

    const char* age = "<div class=\"label\">年齢制限</div>あり<div>18歳〜35歳</div>"
                      "<div class=\"label\">年齢制限該当事由</div>長期勤続のため";
    EXPECT_EQ(ValueOf(21, age), "あり 18歳～35歳");
    EXPECT_EQ(ValueOf(21, age, 22), "長期勤続のため");
    EXPECT_EQ(ValueOf(21, "<div>年齢制限</div>不問"), "不問");
    // Newer pages: every value after its caption, and a reason of its own.
    const char* grouped = "<div class=\"flex\"><div class=\"flex.nowrap\"><div class=\"fs08 m05\">年齢制限</div>"
                          "<div class=\"m05\">制限あり</div></div><div class=\"flex.nowrap\"><div class=\"fs08 "
                          "m05\">年齢制限範囲</div><div class=\"m05\">〜64歳</div></div></div>"
                          "<div class=\"fs08 m05\">年齢制限該当事由</div><div class=\"m05\">定年</div>"
                          "<div class=\"fs08 m05\">年齢制限の理由</div><div class=\"m05\">定年が65歳のため</div>";
    EXPECT_EQ(ValueOf(21, grouped), "制限あり ～64歳");
    EXPECT_EQ(ValueOf(21, grouped, 22), "定年 定年が65歳のため");
}

TEST(ContactRule, PersonThenMarkedNumbers)
{
    JobRecord r = RunRule(RowPage("<div>総務課</div><div>山田　花子</div><div class=\"flex\">"
                                  "<div id=\"ID_ttsTelNo\">電話番号</div><div>99-9999-9999</div>"
                                  "<div class=\"label\" id=\"ID_ttsTel\">電話番号</div><div>03-1234-5678</div>"
                                  "<div id=\"ID_ttsFax\">ＦＡＸ</div><div>03-1234-5679</div>"
                                  "<div id=\"ID_ttsEmail\">Ｅメール</div><div>saiyo@kenmori.example</div>"
                                  "<div id=\"ID_ttsTel\">電話番号</div><div>00-0000-0000</div></div>"),
                          9);
    EXPECT_EQ(U(r[86]), "総務課、山田　花子");
    EXPECT_EQ(r[9] + "|" + r[10] + "|" + r[87], "03-1234-5678|03-1234-5679|saiyo@kenmori.example");

    // The gsTts forms, the mark on the value; the person ends at the
    // telephone caption, the numbers at the row's end.
    r = RunRule(RowPage("<div>人事部</div><div>電話番号</div><div id=\"ID_gsTtsTel\">06-1111-2222</div>"
                        "<div>ＦＡＸ</div><div name=\"gsTtsFax\">06-1111-3333</div>"),
                9);
    EXPECT_EQ(U(r[86]), "人事部");
    EXPECT_EQ(r[9] + "|" + r[10] + "|" + r[87], "06-1111-2222|06-1111-3333|");
}

TEST(HolidayRule, TwoDayWeekendKeptApart)
{
    const char* cell = "<div><div>土日祝</div><br>その他<div>夏季休暇</div>"
                       "<div>週休二日制</div><div>毎週</div></div>";
    EXPECT_EQ(ValueOf(37, cell), "土日祝 その他、夏季休暇");
    EXPECT_EQ(ValueOf(37, cell, 38), "毎週");
}

TEST(PlaceRules, AddressesAndStations)
{
    const char* workplace = "<div><div>就業場所</div><div>〒１６０－００２３\n東京都新宿区１－２"
                            "<div><a href=\"#\">地図表示</a></div></div></div><div>最寄り駅</div><div>新宿駅"
                            "<div>最寄り駅から就業場所までの交通手段</div>徒歩<div>所要時間</div>１０分</div>";
    EXPECT_EQ(ValueOf(47, workplace), "〒160-0023 東京都新宿区1-2");
    EXPECT_EQ(ValueOf(47, workplace, 48), "新宿駅 徒歩 １０分");
    const char* same = "事業所所在地と同じ（本社）<div>東京都</div><div>最寄り駅</div>新宿駅";
    EXPECT_EQ(ValueOf(47, same), "事業所所在地と同じ");
    EXPECT_EQ(ValueOf(47, same, 48), "新宿駅");

    EXPECT_EQ(ValueOf(83,
                      "<div>〒１６０－００２３</div><div>東京都新宿区 <a href=\"#\">地図表示</a></div>"
                      "<script>showMap();</script><div class=\"label\">最寄り駅</div><div>新宿駅</div>"
                      "<div>徒歩１０分</div>"),
              "〒160-0023 東京都新宿区、新宿駅 徒歩10分");
    // Without a station line the address is not repeated after it.
    EXPECT_EQ(ValueOf(83, "<div>本社</div><input type=\"button\" value=\"地図\"><div>本館</div>"), "本社 本館");
}

TEST(IndustryRule, FillsThreeSlotsOnlyFromFourParts)
{
    const IndustryAnswers answers = {{"食料品製造業、飲料", "製造業,09,食料品製造業,099"},
                                     {"三つ", "a,b,c"},
                                     {"五つ", "a,b,c,d,e"},
                                     {"空の値", "a,,c,d"}};
    std::vector<std::string> lookups;
    const auto industry = [&](const std::string& value) {
        const JobRecord r = RunRule(RowPage("<div>" + value + "</div>"), 75, {}, answers, &lookups);
        return U(r[73] + "|" + r[74] + "|" + r[75]);
    };
    // "，" is looked up, and stored, as "、".
    EXPECT_EQ(industry("食料品製造業，飲料"), "製造業|09:食料品製造業|099:食料品製造業、飲料");
    EXPECT_EQ(lookups.back(), "食料品製造業、飲料");
    for (const char* other : {"三つ", "五つ", "空の値", "ない"})
        EXPECT_EQ(industry(other), "||") << other;
    const size_t asked = lookups.size();
    EXPECT_EQ(industry(""), "||");
    EXPECT_EQ(lookups.size(), asked); // an empty name would match every class
}

TEST(SlotRules, SlotsWithoutRuleFillNothing)
{
    const DetailPageParts parts = ReadDetailPageParts(RowPage("高校"));
    ASSERT_EQ(parts.rows.size(), 2u);
    JobRecord r;
    std::vector<std::string> industryNames;
    for (int slot : {-1, 4, 48, 86, 92, 93, 1000})
        ApplySlotRule(slot, parts.rows[0], r, industryNames);
    EXPECT_EQ(r, JobRecord{});
    EXPECT_TRUE(industryNames.empty());
}
