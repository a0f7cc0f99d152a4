#include "text/CodePage932.h"
#include "pages/DetailLabels.h"
#include "pages/DetailPageParts.h"
#include "run/OutputFieldCatalog.h"

#include <gtest/gtest.h>

#include <set>

using namespace kenmori;

static std::string S(std::string_view utf8)
{
    return Utf8ToShiftJis(utf8);
}

TEST(DetailLabels, TableFollowsTheCatalog)
{
    const auto& catalog = OutputFieldCatalog();
    const std::set<int> unlabelled{4, 8, 10, 22, 48, 73, 74, 86, 87, 92, 93};
    // Slots whose label on the page differs from the field's name.
    const std::set<int> ownLabel{7, 9, 26, 27, 28, 29, 30, 31, 72, 75};
    for (int slot = 0; slot < kOutputFieldCount; ++slot) {
        const std::string& label = SlotLabel(slot);
        if (unlabelled.count(slot)) {
            EXPECT_EQ(label, "") << slot;
            continue;
        }
        if (ownLabel.count(slot)) {
            EXPECT_NE(label, catalog[static_cast<size_t>(slot)]) << slot;
        } else {
            EXPECT_EQ(label, catalog[static_cast<size_t>(slot)]) << slot;
        }
        EXPECT_EQ(FindLabelSlot(label), slot) << slot;
    }
    EXPECT_EQ(SlotLabel(31), S("ａ ＋ ｂ（固定残業代がある場合はａ ＋ ｂ ＋ ｃ）"));
    EXPECT_EQ(SlotLabel(75), S("産業分類"));
    EXPECT_EQ(SlotLabel(-1), "");
    EXPECT_EQ(SlotLabel(kOutputFieldCount), "");
}

TEST(DetailLabels, FindLabelSlotIgnoresCaseButNotWidth)
{
    EXPECT_EQ(FindLabelSlot(S("uijターン歓迎")), 45);
    EXPECT_EQ(FindLabelSlot(S("UIJターン歓迎")), 45);
    EXPECT_EQ(FindLabelSlot(S("ＵＩＪターン歓迎")), -1); // full-width letters are another label
    // Full-width letters differ in case only from their own full-width forms.
    EXPECT_EQ(FindLabelSlot(S("Ａ ＋ Ｂ（固定残業代がある場合はａ ＋ ｂ ＋ Ｃ）")), 31);
    EXPECT_EQ(FindLabelSlot(S("基本給（Ａ）")), 27);
    EXPECT_EQ(FindLabelSlot(S("基本給（a）")), -1);
    // An undefined code decodes to "・" but is not that character.
    EXPECT_EQ(FindLabelSlot(S("派遣") + "\x85\x40" + S("請負等")), -1);
    EXPECT_EQ(FindLabelSlot("*"), -1);
    EXPECT_EQ(FindLabelSlot(""), -1);
    EXPECT_EQ(FindLabelSlot(S("求人番号 ")), -1);
}

// The label as a row gives it: its cell's text, blanks around it gone, aliased.
static std::string RowLabelOf(const std::string& labelCell)
{
    const DetailPageParts parts = ReadDetailPageParts("<table><tr>" + labelCell + "<td>x</td></tr></table>");
    return parts.rows.size() == 1 ? parts.rows[0].label : "(no row)";
}

TEST(DetailLabels, RowLabelIsItsCellsTextAliased)
{
    EXPECT_EQ(RowLabelOf("<th class=\"fb\">\n <span>求人番号</span> </th>"), S("求人番号"));
    EXPECT_EQ(
        RowLabelOf(
            "<th scope=\"row\"><div class=\"mt05\">ａ ＋ ｂ<br>（固定残業代がある場合はａ ＋ ｂ ＋ ｃ）</div></th>"),
        S("ａ ＋ ｂ（固定残業代がある場合はａ ＋ ｂ ＋ ｃ）"));
    const std::pair<const char*, int> aliases[] = {
        {"月平均労働日数", 26},
        {"週所定労働日数", 26},
        {"代表者名", 5},
        {"就業形態", 19},
        {"仕事の内容", 62},
        {"時間外労働", 25},
        {"求人条件にかかる特記事項", 88},
        {"賃金形態", 32},
        {"説明会", 82},
        {"補足事項", 72},
    };
    for (const auto& [label, slot] : aliases) {
        // The remembered answer is the same, asked once or again.
        EXPECT_EQ(FindLabelSlot(RowLabelOf(std::string("<th>") + label + "</th>")), slot) << label;
        EXPECT_EQ(FindLabelSlot(RowLabelOf(std::string("<th>") + label + "</th>")), slot) << label;
    }
    EXPECT_EQ(FindLabelSlot(RowLabelOf("<th>求人番号x</th>")), -1);
    // A label cell that is no <th> makes no row.
    EXPECT_EQ(RowLabelOf("<td class=\"fb in_width_9em\">求人番号</td>"), "(no row)");
    // Aliases compare exactly, and are not applied to their results again.
    EXPECT_EQ(AliasedLabel(S("仕事の内容 ")), S("仕事の内容 "));
    EXPECT_EQ(AliasedLabel(S("労働日数")), S("労働日数"));
}
