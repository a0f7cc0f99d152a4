// The employer's rows: name, representative, address, contact, profile.

#include "DemoDraft.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

#include <cstdio>

namespace kenmori {

namespace {

struct CompanyName {
    std::string name;     // "株式会社　青葉建設"
    std::string kanaHead; // the reading, split where the site breaks the line
    std::string kanaTail;
};

CompanyName NameOf(const DemoIndustry& industry, const DemoNamePart& core)
{
    const std::string kanji = core.kanji;
    const std::string kana = core.kana;
    switch (industry.form) {
    case LegalForm::CompanyAfter:
        return {kanji + industry.suffix + "株式会社", kana + industry.suffixKana, "カブシキガイシャ"};
    case LegalForm::Limited:
        return {"有限会社　" + kanji + industry.suffix, "ユウゲンガイシャ　" + kana, industry.suffixKana};
    case LegalForm::Welfare:
        return {"社会福祉法人　" + kanji + industry.suffix, "シャカイフクシホウジン　" + kana,
                industry.suffixKana};
    case LegalForm::Medical:
        return {"医療法人社団　" + kanji + industry.suffix, "イリョウホウジンシャダン　" + kana,
                industry.suffixKana};
    case LegalForm::CompanyBefore: break;
    }
    return {"株式会社　" + kanji + industry.suffix, "カブシキガイシャ　" + kana, industry.suffixKana};
}

std::string Digits(Dice& dice, int count)
{
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits += static_cast<char>('0' + dice.below(10));
    return digits;
}

// "03-1234-5678", "045-123-4567", "0565-12-3456": ten digits in all.
std::string PhoneNumber(Dice& dice, std::string_view area)
{
    const int exchange = static_cast<int>(6 - area.size());
    return std::string(area) + "-" + std::to_string(1 + dice.below(9)) + Digits(dice, exchange - 1) + "-"
        + Digits(dice, 4);
}

std::string PersonName(Dice& dice)
{
    const auto surnames = DemoSurnames();
    const auto given = DemoGivenNames();
    const std::string surname = surnames[static_cast<size_t>(dice.below(static_cast<int>(surnames.size())))];
    return surname + "　" + given[static_cast<size_t>(dice.below(static_cast<int>(given.size())))];
}

void WriteName(Draft& draft, const CompanyName& name)
{
    DetailSheet& sheet = draft.sheet;
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">事業所名</th><td><div class=\"fs13\">" + name.kanaHead);
    sheet.line("<br>" + name.kanaTail + "</div>");
    sheet.line("<div>" + name.name + "</div>");
    sheet.line("</td></tr>");
    sheet.expect(kSlotCompanyName, name.name);
    sheet.expect(kSlotCompanyKana, name.kanaHead + name.kanaTail);
}

void WriteContact(Draft& draft, const std::string& roman)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const bool corporation = draft.industry->form == LegalForm::Welfare
        || draft.industry->form == LegalForm::Medical;
    const std::string department = corporation ? dice.pick({"事務局", "総務課"})
                                               : dice.pick({"総務課", "人事部", "管理部"});
    const std::string person = "採用担当　" + PersonName(dice);
    const std::string phone = PhoneNumber(dice, draft.place->phoneArea);
    const std::string fax = dice.below(5) < 3 ? PhoneNumber(dice, draft.place->phoneArea) : "";
    const std::string mail = dice.oneIn(2) ? "saiyo@" + roman + ".example" : "";
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">担当者</th><td><div>" + department + "</div>");
    sheet.line("<div>" + person + "</div>");
    sheet.line("<div class=\"flex\">");
    sheet.line("<div class=\"label\" id=\"ID_ttsTel\">電話番号</div><div>" + phone + "</div>");
    if (!fax.empty())
        sheet.line("<div class=\"label\" id=\"ID_ttsFax\">ＦＡＸ</div><div>" + fax + "</div>");
    if (!mail.empty())
        sheet.line("<div class=\"label\" id=\"ID_ttsEmail\">Ｅメール</div><div>" + mail + "</div>");
    sheet.line("</div></td></tr>");
    sheet.expect(kSlotContactPerson, department + "、" + person);
    sheet.expect(kSlotTelephone, phone);
    sheet.expect(kSlotFax, fax);
    sheet.expect(kSlotContactEmail, mail);
}

} // namespace

void WriteCompanySection(Draft& draft)
{
    Dice& dice = draft.dice;
    DetailSheet& sheet = draft.sheet;
    const DemoIndustry& industry = *draft.industry;
    const auto cores = DemoCompanyCores();
    const DemoNamePart& core = cores[static_cast<size_t>(dice.below(static_cast<int>(cores.size())))];
    const CompanyName name = NameOf(industry, core);
    draft.companyName = name.name;
    char number[32];
    std::snprintf(number, sizeof number, "%.4s-%06d-%d", draft.place->officeCode, dice.below(1000000),
                  dice.below(10));
    draft.companyNumber = number;
    const bool corporation = industry.form == LegalForm::Welfare || industry.form == LegalForm::Medical;
    const std::string title = corporation ? "理事長" : dice.pick({"代表取締役", "代表取締役社長"});
    const std::string representative = PersonName(dice);
    const std::string corporateNumber = std::to_string(1 + dice.below(9)) + Digits(dice, 12);
    const std::string roman = std::string(core.roman) + "-" + industry.suffixRoman;

    if (draft.posting.companyHidden) {
        // The site shows neither name nor address; the product marks the
        // name as not published.
        sheet.row("所在地", "事業所の意向により公開していません");
        sheet.expect(kSlotCompanyName, "（事業所名非公開）");
    } else {
        sheet.row("事業所番号", draft.companyNumber);
        sheet.expect(kSlotCompanyNumber, draft.companyNumber);
        WriteName(draft, name);
        sheet.line("<tr>");
        sheet.line("<th class=\"fb\">代表者名</th><td><div class=\"label\">役職</div>" + title);
        sheet.line("<div class=\"label\">代表者名</div>" + representative + "</td></tr>");
        sheet.expect(kSlotRepresentative, title + " " + representative);
        sheet.row("法人番号", corporateNumber);
        sheet.expect(kSlotCorporateNumber, corporateNumber);
        const DemoAddress& office = draft.office;
        sheet.line("<tr>");
        sheet.line("<th class=\"fb\">所在地</th><td><div>〒" + FullWidth(office.postalCode));
        sheet.line("<br>　" + FullWidth(office.address) + "</div></td></tr>");
        sheet.expect(kSlotPostalCode, "〒" + office.postalCode);
        sheet.expect(kSlotAddress, office.address);
        WriteContact(draft, roman);
        if (dice.oneIn(2)) {
            const std::string home = "https://www." + roman + ".example/";
            sheet.row("ホームページ", "<a href=\"" + home + "\" target=\"_blank\">" + home + "</a>");
            sheet.expect(kSlotHomePage, home);
        }
    }
    const std::string founded = std::to_string(1950 + dice.below(71)) + "年";
    sheet.row("設立年", founded);
    sheet.expect(kSlotFounded, founded);
    const std::string capital = corporation
        ? "なし"
        : dice.pick({"300万円", "1,000万円", "3,000万円", "5,000万円", "1億円"});
    sheet.row("資本金", capital);
    sheet.expect(kSlotCapital, capital);
    const std::string unionText = dice.oneIn(3) ? "あり" : "なし";
    sheet.row("労働組合", unionText);
    sheet.expect(kSlotLabourUnion, unionText);
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">事業内容</th><td><div>" + std::string(industry.business[0]));
    sheet.line("<br>" + std::string(industry.business[1]));
    sheet.line(std::string(industry.business[2]) + "</div></td></tr>");
    sheet.expect(kSlotBusiness,
                 std::string(industry.business[0]) + industry.business[1] + " " + industry.business[2]);
    sheet.row("会社の特長", industry.feature);
    sheet.expect(kSlotCompanyFeatures, industry.feature);
    sheet.line("</table>");
}

} // namespace kenmori
