// The wage rows.

#include "DemoDraft.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

namespace kenmori {

namespace {

struct WageRange {
    int low = 0;
    int high = 0;
};

std::string YenRange(WageRange range)
{
    return GroupDigits(range.low) + "円～" + GroupDigits(range.high) + "円";
}

} // namespace

void WritePaySection(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const DemoJob& job = *draft.job;
    const int kind = draft.posting.kind;
    const bool daily = !draft.partTime && (kind == kDemoKindSeasonal || kind == kDemoKindAwayFromHome);
    const bool monthly = !draft.partTime && !daily;

    WageRange base;
    if (draft.partTime) {
        base.low = job.hourlyBase + 50 * dice.below(5);
        base.high = base.low + 100 * (1 + dice.below(3));
    } else if (daily) {
        base.low = job.monthlyBase / 2000 * 100 + 500 * dice.below(4);
        base.high = base.low + 1000 * (1 + dice.below(3));
    } else {
        base.low = job.monthlyBase + 10000 * dice.below(6);
        base.high = base.low + 10000 * (2 + dice.below(7));
    }
    WageRange allowance;
    std::string allowanceText = "なし";
    if (monthly && dice.oneIn(2)) {
        allowance.low = dice.oneIn(2) ? 5000 : 10000;
        allowance.high = allowance.low * 2;
        allowanceText = std::string(dice.pick({"資格手当", "役職手当", "皆勤手当"})) + "　" + YenRange(allowance);
    }
    const WageRange total{base.low + allowance.low, base.high + allowance.high};

    sheet.line("<table class=\"normal\">");
    sheet.row("基本給（ａ）", draft.wave(YenRange(base)));
    sheet.expectNormalised(kSlotBasePay, draft.wave(YenRange(base)));
    sheet.row("定額的に支払われる手当（ｂ）", draft.wave(allowanceText));
    sheet.expectNormalised(kSlotFixedAllowances, draft.wave(allowanceText));
    sheet.row("固定残業代（ｃ）", "なし");
    sheet.expectNormalised(kSlotFixedOvertimePay, "なし");
    const std::string other = draft.partTime ? "交通費は規定により支給"
        : daily                              ? "寮費無料、食事補助あり"
                                             : "通勤手当は実費支給（上限あり）";
    sheet.row("その他の手当等付記事項（ｄ）", other);
    sheet.expectNormalised(kSlotOtherAllowances, other);
    sheet.line("<tr>");
    const std::string totalLine = "<th class=\"fb\">ａ ＋ ｂ（固定残業代がある場合はａ ＋ ｂ ＋ ｃ）</th><td><div>"
        + draft.wave(YenRange(total)) + "</div>";
    if (daily) {
        sheet.line(totalLine);
        sheet.line("<div>（日額）</div></td></tr>");
        sheet.expect(kSlotTotalWage, YenRange(total) + " （日額）");
    } else {
        sheet.line(totalLine + "</td></tr>");
        sheet.expect(kSlotTotalWage, YenRange(total));
    }
    const std::string form = draft.partTime ? "時給" : daily ? "日給" : "月給";
    draft.posting.wage = form + " " + YenRange(base);
    sheet.row("賃金形態", form);
    sheet.expectNormalised(kSlotWageForm, form);
    const std::string closing = dice.oneIn(2) ? "毎月　" + FullWidth("20") + "日" : "毎月　末日";
    sheet.row("賃金締切日", closing);
    sheet.expectNormalised(kSlotWageClosingDay, closing);
    const std::string payday = dice.pick({"当月末日", "翌月　１０日", "翌月　２５日"});
    sheet.row("賃金支払日", payday);
    sheet.expect(kSlotPayday, payday);

    std::vector<std::string> raise{"なし"};
    if (!dice.oneIn(3))
        raise = {"あり",
                 draft.partTime ? "前年度実績　時給" + FullWidth(std::to_string(10 * (2 + dice.below(4)))) + "円"
                                : "前年度実績　月額" + GroupDigits(1000 * (3 + dice.below(8))) + "円"};
    sheet.listRow("昇給", raise);
    sheet.expectNormalised(kSlotPayRaise, Join(raise, "、"));
    if (draft.partTime || dice.oneIn(4)) {
        sheet.listRow("賞与", {"なし"});
        sheet.expectNormalised(kSlotBonus, "なし");
    } else {
        const std::string times = "年" + FullWidth(std::to_string(2 + dice.below(2))) + "回";
        sheet.listRow("賞与", {"あり", times}, "（前年度実績）");
        sheet.expectNormalised(kSlotBonus, "あり、" + times + "（前年度実績）");
    }
    const std::string commute = dice.pick({"実費支給（上限あり）", "実費支給（上限なし）", "一定額"});
    sheet.row("通勤手当", commute);
    sheet.expect(kSlotCommutingAllowance, commute);
    sheet.line("</table>");
}

} // namespace kenmori
