// Working hours and holidays.

#include "DemoDraft.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

#include <cstdio>

namespace kenmori {

namespace {

// "（1）09時00分～18時00分", printed full width.
std::string Shift(int number, int startHour, int startMinute, int hours)
{
    char text[96];
    std::snprintf(text, sizeof text, "（%d）%02d時%02d分～%02d時%02d分", number, startHour, startMinute,
                  startHour + hours, startMinute);
    return FullWidth(text);
}

void WriteWorkingHours(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const int start = 8 + dice.below(3);
    const int minute = dice.oneIn(3) ? 30 : 0;
    const std::string first = draft.wave(Shift(1, start, minute, draft.partTime ? 5 : 9));
    sheet.line("<tr>");
    if (draft.partTime && dice.oneIn(2)) {
        const std::string note = draft.wave("又は" + FullWidth("9") + "時～" + FullWidth("18") + "時の間の"
                                            + FullWidth("4") + "時間程度");
        sheet.line("<th class=\"fb\">就業時間</th><td><div>" + first + "</div>");
        sheet.line("<br>" + note + "</td></tr>");
        sheet.expectNormalised(kSlotWorkingHours, first + note);
    } else if (!draft.partTime && dice.oneIn(2)) {
        const std::string second = draft.wave(Shift(2, start + 1, minute, 9));
        sheet.line("<th class=\"fb\">就業時間</th><td><div>" + first + "</div>");
        sheet.line("<div>" + second + "</div></td></tr>");
        sheet.expectNormalised(kSlotWorkingHours, first + " " + second);
    } else {
        sheet.line("<th class=\"fb\">就業時間</th><td><div>" + first + "</div></td></tr>");
        sheet.expectNormalised(kSlotWorkingHours, first);
    }
}

void WriteHolidays(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const std::string usual = dice.pick({"土日祝", "日祝他", "シフト制"});
    const std::string weekend = usual == "土日祝" ? "毎週" : dice.pick({"その他", "なし", "毎週"});
    const std::string further = dice.pick({"夏季休暇", "年末年始", "有給休暇"});
    const bool noted = dice.oneIn(2);
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">休日等</th><td><div class=\"x\"><div>" + usual + "</div>");
    if (noted)
        sheet.line("<br>その他（年末年始）");
    sheet.line("<div>" + further + "</div>");
    sheet.line("<div class=\"label\">週休二日制</div><div>" + weekend + "</div>");
    sheet.line("</div></td></tr>");
    sheet.expect(kSlotHolidays, usual + (noted ? " その他（年末年始）" : "") + "、" + further);
    sheet.expect(kSlotTwoDayWeekend, weekend);
}

} // namespace

void WriteHoursSection(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    sheet.line("<table class=\"normal\">");
    WriteWorkingHours(draft);
    const std::string pause = FullWidth(draft.partTime ? "45" : "60") + "分";
    sheet.row("休憩時間", pause);
    sheet.expectNormalised(kSlotBreakTime, pause);

    std::vector<std::string> overtime{"なし"};
    if (!draft.partTime && !dice.oneIn(4))
        overtime = {"あり", "月平均" + FullWidth(std::to_string(5 + 5 * dice.below(4))) + "時間",
                    FullWidth("36") + "協定における特別条項なし"};
    sheet.listRow("時間外労働", overtime);
    sheet.expectNormalised(kSlotOvertime, Join(overtime, "、"));

    const std::string days = draft.partTime
        ? draft.wave("週" + FullWidth(std::to_string(3 + dice.below(2))) + "日～" + FullWidth("5") + "日")
        : FullWidth(std::to_string(20 + dice.below(3))) + "日";
    sheet.row(draft.partTime ? "週所定労働日数" : "月平均労働日数", days);
    sheet.expectNormalised(kSlotWorkingDays, days);

    WriteHolidays(draft);
    const std::string yearly =
        FullWidth(std::to_string(draft.partTime ? 100 + dice.below(10) : 105 + dice.below(21))) + "日";
    sheet.row("年間休日数", yearly);
    sheet.expect(kSlotAnnualHolidays, yearly);
    const std::vector<std::string> rules{"フルタイム：あり",
                                         dice.oneIn(2) ? "パートタイム：あり" : "パートタイム：なし"};
    sheet.listRow("就業規則", rules);
    sheet.expectNormalised(kSlotWorkRules, Join(rules, "、"));
    sheet.line("</table>");
}

} // namespace kenmori
