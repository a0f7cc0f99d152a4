#include "support/DetailTestSupport.h"

#include <gtest/gtest.h>

// The rule's value for a one-label page; "" ends it, as a window never reads
// the page's last line.
static std::string ValueOf(int slot, std::initializer_list<const char*> lines, int shownSlot = -1)
{
    const JobRecord r = RunRule(Page(lines), slot, 0);
    return U(r[static_cast<size_t>(shownSlot < 0 ? slot : shownSlot)]);
}

TEST(GeneralRule, GluesBreakLinesSpacesOthersAndEndsWithTheRow)
{
    EXPECT_EQ(ValueOf(62,
                      {"<th>仕事内容</th><td><div>受発注&nbsp;</div>", "<br>電話応対", "  伝票<br>請求書</div>",
                       "</td></tr>", "<tr>", "後", ""}),
              "受発注電話応対 伝票 請求書");
    for (const char* end : {"</div></td></tr>", "</div></table>", "</tr>", "<tr class=\"x\">"})
        EXPECT_EQ(ValueOf(63, {"<th>学歴</th><td>高校", end, "大学", ""}), "高校") << end;
    // A later label in the window starts the value again; the last line is never read.
    EXPECT_EQ(ValueOf(63, {"<th>学歴</th><td>高校", "<th>別</th><td>大学", "院"}), "大学");
    EXPECT_EQ(ValueOf(49, {"<th>転勤の可能性</th><td><div>転勤の可能性の有無</div><div>なし</div>", ""}), "なし");
}

TEST(GeneralRule, SlotPostProcessing)
{
    const auto address = {"<th>所在地</th><td><div>〒１６０－００２３",
                          "<br>　東京都新宿区西新宿１－２－３ ビル</div></td></tr>", ""};
    EXPECT_EQ(ValueOf(7, address), "〒160-0023");
    EXPECT_EQ(ValueOf(7, address, 8), "東京都新宿区西新宿1-2-3 ビル");
    JobRecord old;
    old[7] = "7";
    old[8] = "8";
    const JobRecord r = RunRule(Page({"<th>所在地</th><td>〒１６０東京都", ""}), 7, 0, old);
    EXPECT_EQ(r[7] + r[8], "78"); // no space: neither slot changes

    EXPECT_EQ(ValueOf(23, {"<th>就業時間</th><td>０９時〜１８時", ""}), "09時～18時");
    EXPECT_EQ(ValueOf(39, {"<th>年間休日数</th><td>１２０日?", ""}), "１２０日?");
    EXPECT_EQ(ValueOf(17, {"<th>職種</th><td>事務<a href=\"#\">職種解説</a>", ""}), "事務");
    EXPECT_EQ(ValueOf(77, {"<th>選考方法</th><td>書類選考，面接", ""}), "書類選考、面接");
    EXPECT_EQ(ValueOf(15, {"<th>事業内容</th><td>卸売，小売", ""}), "卸売，小売");
}

TEST(ListRule, JoinsWithIdeographicCommaAndGluesBreakLines)
{
    EXPECT_EQ(ValueOf(36,
                      {"<th>賞与</th><td><div>あり</div>", "<div>年２回</div>", "<br>（実績）", "",
                       "<div>計４，０００円〜</div>", "</div></td></tr>", "<div>後</div>", ""}),
              "あり、年2回（実績）、計4、000円～");
    EXPECT_EQ(ValueOf(35, {"<th>昇給</th><td><div>なし</div>", "<tr>", "<div>後</div>", ""}), "なし");
}

TEST(NameAndAgeRules, FollowingLinesOnlyWhenTheyExist)
{
    const auto name = {"<th>事業所名</th><td><div>ケンモリ", "<br>ショウジ</div>", "<div>検森商事</div>", ""};
    EXPECT_EQ(ValueOf(3, name, 4), "ケンモリショウジ");
    EXPECT_EQ(ValueOf(3, name), "検森商事"); // the line after the kana's last line
    JobRecord hidden;
    hidden[3] = S("（事業所名非公開）");
    EXPECT_EQ(U(RunRule(Page({"<th>事業所名</th><td>カナ"}), 3, 0, hidden)[3]), "（事業所名非公開）");

    const auto age = {"<th>年齢</th><td><div>年齢制限</div>あり", "<div>18歳〜35歳</div>",
                      "<div>年齢制限該当事由</div>長期勤続のため</td></tr>"};
    EXPECT_EQ(ValueOf(21, age), "あり 18歳～35歳");
    EXPECT_EQ(ValueOf(21, age, 22), "長期勤続のため");
    EXPECT_EQ(ValueOf(21, {"<th>年齢</th><td><div>年齢制限</div>不問"}), "不問");
}

TEST(ContactRule, PersonThenMarkedNumbers)
{
    JobRecord r = RunRule(Page({
                              "<th>担当者</th><td><div>総務課</div>",
                              "<div>山田　花子</div>",
                              "<div class=\"flex\">",
                              "<div id=\"ID_ttsTelNo\">電話番号</div><div>99-9999-9999</div>",
                              "<div id=\"ID_ttsTel\">電話番号</div><div>03-1234-5678</div>",
                              "<div id=\"ID_ttsFax\">ＦＡＸ</div><div>03-1234-5679</div>",
                              "<div id=\"ID_ttsEmail\">Ｅメール</div><div>saiyo@kenmori.example</div>",
                              "<div id=\"ID_ttsTel\">電話番号</div><div>00-0000-0000</div>",
                              "</div></td></tr>",
                              "",
                          }),
                          9, 0);
    EXPECT_EQ(U(r[86]), "総務課、山田　花子");
    EXPECT_EQ(r[9] + "|" + r[10] + "|" + r[87], "03-1234-5678|03-1234-5679|saiyo@kenmori.example");

    // The gsTts forms; the person ends at the telephone caption, the numbers
    // at the next label.
    r = RunRule(Page({
                    "<th>担当者</th><td><div>人事部</div>",
                    "<div id=\"ID_gsTtsTel\">電話番号</div><div>06-1111-2222</div>",
                    "<div id=\"ID_gsTtsFax\">ＦＡＸ</div><div>06-1111-3333</div>",
                    "<th>ホームページ</th>",
                    "<div id=\"ID_gsTtsEmail\">Ｅメール</div><div>a@b.example</div>",
                    "",
                }),
                9, 0);
    EXPECT_EQ(U(r[86]), "人事部");
    EXPECT_EQ(r[9] + "|" + r[10] + "|" + r[87], "06-1111-2222|06-1111-3333|");
    EXPECT_EQ(ValueOf(9, {"<th>担当者</th><td><div>人事部</div>", "<hr>", "<div>山田</div>", ""}, 86), "人事部");
}

TEST(HolidayRule, TwoDayWeekendKeptApart)
{
    const auto page = {"<th>休日等</th><td><div><div>土日祝</div>",
                       "<br>その他",
                       "<div>夏季休暇</div>",
                       "<div>週休二日制</div><div>毎週</div>",
                       "</div></td></tr>",
                       "<div>後</div>",
                       ""};
    EXPECT_EQ(ValueOf(37, page), "土日祝 その他、夏季休暇");
    EXPECT_EQ(ValueOf(37, page, 38), "毎週");
}

TEST(PlaceRules, AddressesAndStations)
{
    const auto workplace = {"<th>就業場所</th><td><div>就業場所</div><div>〒１６０－００２３",
                            "東京都新宿区１－２",
                            "<a href=\"#\">地図表示</a>",
                            "</div>",
                            "</div><div>最寄り駅</div><div>新宿駅",
                            "<div>最寄り駅から就業場所までの交通手段</div>徒歩",
                            "<div>所要時間</div>１０分</div>",
                            "</td></tr>"};
    EXPECT_EQ(ValueOf(47, workplace), "〒160-0023 東京都新宿区1-2");
    EXPECT_EQ(ValueOf(47, workplace, 48), "新宿駅 徒歩 １０分");
    const auto same = {"<th>就業場所</th><td>事業所所在地と同じ（本社）", "<div>東京都</div>", "</div>",
                       "</div><div>最寄り駅</div>新宿駅", ""};
    EXPECT_EQ(ValueOf(47, same), "事業所所在地と同じ");
    EXPECT_EQ(ValueOf(47, same, 48), "新宿駅"); // its two following lines are missing

    EXPECT_EQ(ValueOf(83,
                      {"<th>選考場所</th><td><div>〒１６０－００２３</div>",
                       "<div>東京都新宿区 <a href=\"#\">地図表示</a></div>", "本文だけの行",
                       "<script>showMap();</script>", "<div>最寄り駅</div><div>新宿駅</div>",
                       "<div>徒歩１０分</div>", "<tr>", "<div>後</div>", ""}),
              "〒160-0023 東京都新宿区、新宿駅 徒歩10分");
    // Without a station line the address is not repeated after it; a second
    // station line starts the block again.
    EXPECT_EQ(ValueOf(83,
                      {"<th>選考場所</th><td><div>本社</div>", "<input type=\"button\">", "<div>本社</div>",
                       "<tr>", ""}),
              "本社");
    EXPECT_EQ(ValueOf(83,
                      {"<th>選考場所</th><td><div>本社</div>", "<script>x</script>", "<div>最寄り駅</div>新宿駅",
                       "<div>最寄り駅</div>代々木駅", "<div>徒歩５分</div>", "</td></tr>", "<tr>", ""}),
              "本社、代々木駅 徒歩5分");
}

TEST(IndustryRule, FillsThreeSlotsOnlyFromFourParts)
{
    const IndustryAnswers answers = {{"食料品製造業、飲料", "製造業,09,食料品製造業,099"},
                                     {"三つ", "a,b,c"},
                                     {"五つ", "a,b,c,d,e"},
                                     {"空の値", "a,,c,d"}};
    std::vector<std::string> lookups;
    const auto industry = [&](const std::string& value) {
        const std::string row = "<th>産業分類</th><td><div>" + value + "</div></td></tr>";
        const JobRecord r = RunRule(Page({row.c_str(), ""}), 75, 0, {}, answers, &lookups);
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

TEST(SlotRules, StopRequestAndSlotsWithoutRule)
{
    const PageLines lines = Page({"<th>学歴</th><td>高校", ""});
    const PageText page(lines);
    const StopRequested stop = [] { return true; };
    JobRecord r;
    std::vector<std::string> industryNames;
    ApplySlotRule(63, 0, RuleInput{page, stop}, r, industryNames);
    for (int slot : {-1, 4, 48, 86, 92, 93, 1000})
        ApplySlotRule(slot, 0, RuleInput{page, {}}, r, industryNames);
    EXPECT_EQ(r, JobRecord{});
    EXPECT_TRUE(industryNames.empty());
}
