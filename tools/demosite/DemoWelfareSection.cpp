// Staff, insurance, company schemes and the industry.

#include "DemoDraft.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

namespace kenmori {

void WriteWelfareSection(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const DemoIndustry& industry = *draft.industry;
    sheet.line("<table class=\"normal\">");

    const int total = 8 + dice.below(400);
    const int here = 1 + dice.below(total);
    const int women = dice.below(here + 1);
    const std::vector<std::string> staff{"企業全体：" + FullWidth(std::to_string(total)) + "人",
                                         "うち就業場所：" + FullWidth(std::to_string(here)) + "人",
                                         "うち女性：" + FullWidth(std::to_string(women)) + "人"};
    sheet.listRow("従業員数", staff);
    sheet.expectNormalised(kSlotEmployeeCount, Join(staff, "、"));

    const std::string insurance = draft.partTime && dice.oneIn(2) ? "雇用，労災" : "雇用，労災，健康，厚生";
    sheet.row("加入保険等", insurance);
    sheet.expectCommas(kSlotInsurance, insurance);
    const std::string pension = dice.pick({"厚生年金基金，確定拠出年金", "確定拠出年金", "なし"});
    sheet.row("企業年金", pension);
    sheet.expectCommas(kSlotCorporatePension, pension);

    sheet.plainRow(kSlotRetirementMutualAid, "退職金共済", dice.pick({"加入", "未加入"}));
    sheet.plainRow(kSlotRetirementAllowance, "退職金制度",
                   dice.pick({"あり（勤続３年以上）", "あり（勤続１年以上）", "なし"}));
    sheet.plainRow(kSlotRetirementAge, "定年制", dice.pick({"あり（一律６０歳）", "あり（一律６５歳）"}));
    sheet.plainRow(kSlotReemployment, "再雇用制度", dice.pick({"あり（上限６５歳まで）", "なし"}));
    sheet.plainRow(kSlotWorkExtension, "勤務延長", dice.pick({"なし", "あり（上限７０歳まで）"}));
    sheet.plainRow(kSlotHousing, "入居可能住宅", dice.pick({"単身用あり", "世帯用あり", "なし"}));
    sheet.plainRow(kSlotChildcareFacility, "利用可能託児施設", dice.pick({"なし", "なし", "あり"}));
    sheet.plainRow(kSlotChildcareLeaveRecord, "育児休業取得実績", dice.pick({"あり", "なし"}));
    sheet.plainRow(kSlotNursingCareLeaveRecord, "介護休業取得実績", dice.pick({"なし", "あり"}));
    sheet.plainRow(kSlotSickChildLeaveRecord, "看護休暇取得実績", dice.pick({"あり", "なし"}));
    sheet.plainRow(kSlotForeignStaffRecord, "外国人雇用実績", dice.pick({"なし", "あり"}));
    sheet.plainRow(kSlotUijTurnWelcome, "UIJターン歓迎", dice.pick({"可", "不可"}));
    sheet.plainRow(kSlotJobBasedPay, "職務給制度", dice.pick({"なし", "あり"}));
    sheet.plainRow(kSlotReinstatement, "復職制度", dice.pick({"あり", "なし"}));
    sheet.plainRow(kSlotTraining, "研修制度", dice.pick({"あり（ＯＪＴ）", "あり（外部研修）", "なし"}));

    sheet.row("産業分類", industry.shownName);
    sheet.expect(kSlotIndustryMajor, industry.majorName);
    sheet.expect(kSlotIndustryMiddle, std::string(industry.middleCode) + ":" + industry.middleName);
    sheet.expect(kSlotIndustryMinor, std::string(industry.groupCode) + ":" + industry.groupName);

    sheet.plainRow(kSlotOtherNotes, "補足事項", dice.pick({"駐車場あり", "制服貸与", "社員食堂あり"}));
    sheet.plainRow(kSlotCompanyMessage, "事業所からのメッセージ",
                   dice.pick({"未経験の方も歓迎します。", "職場見学も受け付けています。お気軽にご連絡ください。",
                              "長く安心して働ける職場です。"}));
    sheet.line("</table>");
}

} // namespace kenmori
