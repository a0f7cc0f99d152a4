// The job's rows: occupation, duties, terms, workplace, age, requirements.

#include "DemoDraft.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

namespace kenmori {

namespace {

void WriteWorkplace(Draft& draft)
{
    DetailSheet& sheet = draft.sheet;
    const DemoAddress& place = draft.workplace;
    const std::string postal = "〒" + FullWidth(place.postalCode);
    sheet.line("<tr>");
    if (draft.workplaceIsOffice) {
        sheet.line(
            "<th class=\"fb\">就業場所</th><td><div><div class=\"label\">就業場所</div><div>事業所所在地と同じ");
        sheet.line(postal + "　" + FullWidth(place.address));
        sheet.expect(kSlotWorkplace, "事業所所在地と同じ");
    } else {
        sheet.line("<th class=\"fb\">就業場所</th><td><div><div class=\"label\">就業場所</div><div>" + postal);
        sheet.line(FullWidth(place.address));
        sheet.expectNormalised(kSlotWorkplace, postal + " " + FullWidth(place.address));
    }
    sheet.line("<div>");
    sheet.line("<a href=\"#\" onclick=\"showMap();\">地図表示</a></div>");
    sheet.line("</div>");
    const std::string minutes = FullWidth(std::to_string(place.minutes)) + "分";
    sheet.line("</div><div class=\"label\">最寄り駅</div><div>" + place.station);
    sheet.line("<div class=\"label\">最寄り駅から就業場所までの交通手段</div>" + place.transport);
    sheet.line("<div class=\"label\">所要時間</div>" + minutes);
    sheet.line("</div></td></tr>");
    sheet.expect(kSlotNearestStation, place.station + " " + place.transport + " " + minutes);
}

void WriteAge(Draft& draft)
{
    DetailSheet& sheet = draft.sheet;
    const bool graduate = draft.posting.kind == kDemoKindGraduate;
    sheet.line("<tr>");
    if (graduate || draft.dice.oneIn(4)) {
        const std::string range = graduate ? "～29歳" : draft.dice.pick({"18歳～35歳", "18歳～39歳", "～44歳"});
        const std::string reason = graduate ? "新規学卒者等を対象として募集するため"
                                            : "長期勤続によるキャリア形成のため";
        sheet.line("<th class=\"fb\">年齢</th><td><div class=\"label\">年齢制限</div>あり");
        sheet.line("<div>" + draft.wave(range) + "</div>");
        sheet.line("<div class=\"label\">年齢制限該当事由</div>" + reason + "</td></tr>");
        sheet.expect(kSlotAge, "あり " + range);
        sheet.expect(kSlotAgeLimitReason, reason);
    } else {
        sheet.line("<th class=\"fb\">年齢</th><td><div class=\"label\">年齢制限</div>なし");
        sheet.line("<div>不問</div>");
        sheet.line("<div class=\"label\">年齢制限該当事由</div></td></tr>");
        sheet.expect(kSlotAge, "なし 不問");
    }
}

void WriteLicence(Draft& draft)
{
    DetailSheet& sheet = draft.sheet;
    const DemoJob& job = *draft.job;
    const std::string licence = FullWidth(job.licence);
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">必要な免許・資格</th><td><div><div><div class=\"label\">免許・資格名</div><div>"
               + licence + "</div>");
    std::string shown = licence;
    if (job.licenceNote) {
        const std::string note = FullWidth(job.licenceNote);
        sheet.line("<div>" + note + "</div>");
        shown += " " + note;
    }
    sheet.line("</div></div></div></td></tr>");
    sheet.expectNormalised(kSlotLicences, shown);
}

} // namespace

void WriteJobSection(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const DemoJob& job = *draft.job;
    const int kind = draft.posting.kind;
    const bool fixedTerm = draft.partTime || kind == kDemoKindSeasonal || kind == kDemoKindAwayFromHome;

    sheet.line("<table class=\"normal\">");
    sheet.row("職種", std::string(job.title) + "<a href=\"#\" class=\"help\">職種解説</a>");
    sheet.expect(kSlotOccupation, job.title);
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">仕事の内容</th><td><div>" + std::string(job.duties[0]));
    sheet.line("<br>" + std::string(job.duties[1]));
    sheet.line(std::string(job.duties[2]) + "</div></td></tr>");
    sheet.expect(kSlotJobDescription, std::string(job.duties[0]) + job.duties[1] + " " + job.duties[2]);

    const std::string employment = draft.partTime ? "パート労働者" : fixedTerm ? "正社員以外" : "正社員";
    sheet.row("雇用形態", employment);
    sheet.expect(kSlotEmploymentType, employment);
    sheet.line("<tr>");
    sheet.line(
        "<th class=\"fb\">就業形態</th><td><div class=\"label\">就業形態</div><div>派遣・請負ではない</div></td></tr>");
    sheet.expect(kSlotDispatch, "派遣・請負ではない");
    const std::string term = !fixedTerm ? "雇用期間の定めなし"
        : kind == kDemoKindSeasonal     ? "雇用期間の定めあり（４か月未満）"
                                        : "雇用期間の定めあり（４か月以上）";
    sheet.row("雇用期間", term);
    sheet.expect(kSlotEmploymentPeriod, term);

    WriteWorkplace(draft);
    const std::string transfer = dice.oneIn(4) ? "あり" : "なし";
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">転勤の可能性</th><td><div class=\"label\">転勤の可能性の有無</div><div>"
               + transfer + "</div></td></tr>");
    sheet.expect(kSlotTransferPossible, transfer);
    const std::string car = dice.pick({"可", "不可", "可（駐車場あり）"});
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">マイカー通勤</th><td><div class=\"label\">マイカー通勤</div><div>" + car
               + "</div></td></tr>");
    sheet.expect(kSlotCarCommuting, car);

    WriteAge(draft);
    const std::string education = kind == kDemoKindGraduate ? "大卒以上" : dice.pick({"不問", "高校以上"});
    sheet.row("学歴", education);
    sheet.expect(kSlotEducation, education);
    sheet.row("必要な経験等", job.experience);
    sheet.expect(kSlotExperience, job.experience);
    WriteLicence(draft);
    const std::string trial = dice.pick({"あり（３か月）", "あり（６か月）", "なし"});
    sheet.row("試用期間", trial);
    sheet.expect(kSlotProbation, trial);
    sheet.line("</table>");
}

} // namespace kenmori
