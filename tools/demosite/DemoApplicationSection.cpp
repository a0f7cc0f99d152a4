// Hiring, selection and the posting's dates.

#include "DemoDraft.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

namespace kenmori {

namespace {

void WriteSelectionPlace(Draft& draft)
{
    DetailSheet& sheet = draft.sheet;
    // A hidden employer is met at the workplace, not at its office.
    const DemoAddress& place = draft.posting.companyHidden ? draft.workplace : draft.office;
    const std::string postal = "〒" + FullWidth(place.postalCode);
    const std::string address = FullWidth(place.address);
    const std::string access = place.transport + FullWidth(std::to_string(place.minutes)) + "分";
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">選考場所</th><td><div>" + postal + "</div>");
    sheet.line("<div>" + address + " <a href=\"#\" onclick=\"showMap();\">地図表示</a></div>");
    sheet.line("<script>showMap();</script>");
    sheet.line("<div class=\"label\">最寄り駅</div><div>" + place.station + "</div>");
    sheet.line("<div>" + access + "</div>");
    sheet.line("</td></tr>");
    sheet.expectNormalised(kSlotSelectionPlace, postal + " " + address + "、" + place.station + " " + access);
}

} // namespace

void WriteApplicationSection(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    sheet.line("<table class=\"normal\">");
    sheet.plainRow(kSlotHiringCount, "採用人数", FullWidth(std::to_string(1 + dice.below(3))) + "人");
    sheet.plainRow(kSlotTrialEmployment, "トライアル雇用併用の希望", dice.pick({"希望しない", "希望する"}));
    sheet.plainRow(kSlotOnlineApplication, "オンライン自主応募の受付", dice.pick({"可", "不可"}));
    const std::string method = dice.pick(
        {"書類選考，面接（予定１回）", "面接（予定１回）", "書類選考，面接（予定２回），筆記試験"});
    sheet.row("選考方法", method);
    sheet.expectCommas(kSlotSelectionMethod, method);
    const std::string result = dice.pick(
        {"面接後，１４日以内", "面接後，７日以内", "書類選考結果通知後，１０日以内"});
    sheet.row("選考結果通知", result);
    sheet.expectCommas(kSlotSelectionResult, result);
    const std::string notice = dice.pick({"郵送，電話", "電話", "Ｅメール，電話"});
    sheet.row("求職者への通知方法", notice);
    sheet.expectCommas(kSlotApplicantNotice, notice);
    std::vector<std::string> documents{"ハローワーク紹介状", "履歴書（写真貼付）"};
    if (dice.oneIn(3))
        documents.push_back("職務経歴書");
    sheet.listRow("応募書類等", documents);
    sheet.expectNormalised(kSlotApplicationDocuments, Join(documents, "、"));
    sheet.plainRow(kSlotDocumentReturn, "応募書類の返戻", dice.pick({"返戻しない", "返戻する"}));
    sheet.plainRow(kSlotSelectionSchedule, "説明会", dice.pick({"随時", "月２回（第１・第３水曜日）"}));
    WriteSelectionPlace(draft);
    sheet.plainRow(kSlotGraduatesAccepted, "既卒者・中退者の応募可否",
                   draft.posting.kind == kDemoKindGraduate ? "応募可" : dice.pick({"応募可", "応募不可"}));
    sheet.plainRow(kSlotGraduateStartDate, "既卒者等の入社日", dice.pick({"相談", "入社日は相談に応じます"}));

    const std::string first = dice.pick(
        {"昇給は業績によります。", "試用期間中の労働条件に変更はありません。", "制服を貸与します。"});
    const std::string second = dice.pick({"詳細は面接時に説明します。", "見学を希望の方はご連絡ください。"});
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">求人条件にかかる特記事項</th><td><div>" + first);
    sheet.line("<br>" + second + "</div></td></tr>");
    sheet.expect(kSlotPostingNotes, first + second);

    static constexpr int kMonthEnd[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int month = 1 + dice.below(10);
    const std::string received = "2024年" + std::to_string(month) + "月" + std::to_string(1 + dice.below(28))
        + "日";
    const std::string until = "2024年" + std::to_string(month + 2) + "月" + std::to_string(kMonthEnd[month + 1])
        + "日";
    sheet.plainRow(kSlotReceivedDate, "受付年月日", received);
    sheet.plainRow(kSlotReferralDeadline, "紹介期限日", until);
    sheet.plainRow(kSlotReceivingOffice, "受理安定所", draft.place->office);
}

} // namespace kenmori
