#include "DemoGenerator.h"

#include "DemoDraft.h"
#include "DemoPages.h"
#include "DemoText.h"
#include "pages/OutputSlots.h"

#include <cstdio>

namespace kenmori {

int Dice::below(int n)
{
    return n < 1 ? 0 : static_cast<int>(m_engine() % static_cast<std::uint32_t>(n));
}

const char* Dice::pick(std::initializer_list<const char*> texts)
{
    return texts.begin()[below(static_cast<int>(texts.size()))];
}

std::string Draft::wave(std::string_view text) const
{
    return posting.waveDash ? ReplaceAll(text, "～", "〜") : std::string(text);
}

DemoAddress Draft::makeAddress()
{
    const int town = dice.below(3);
    char postal[16];
    std::snprintf(postal, sizeof postal, "%s-%04d", place->postalPrefix, dice.below(10000));
    DemoAddress address;
    address.postalCode = postal;
    address.address = std::string(place->prefecture) + place->city + place->towns[town]
        + std::to_string(1 + dice.below(5)) + "-" + std::to_string(1 + dice.below(20)) + "-"
        + std::to_string(1 + dice.below(30));
    address.station = place->stations[town];
    address.transport = dice.pick({"徒歩", "徒歩", "バス"});
    address.minutes = 3 + dice.below(18);
    return address;
}

static void ChooseKind(Draft& draft)
{
    DemoPosting& posting = draft.posting;
    const int draw = draft.dice.below(100);
    posting.kind = draw < 84 ? kDemoKindGeneral
        : draw < 90          ? kDemoKindGraduate
        : draw < 93          ? kDemoKindSeasonal
        : draw < 95          ? kDemoKindAwayFromHome
                             : kDemoKindDisabled;
    posting.workStyle = (draw >= 60 && draw < 84) || draw >= 98 ? kDemoPartTime : kDemoFullTime;
    draft.partTime = posting.workStyle == kDemoPartTime;
}

static std::string PostingClass(const DemoPosting& posting)
{
    const bool part = posting.workStyle == kDemoPartTime;
    switch (posting.kind) {
    case kDemoKindGraduate: return "新卒・既卒";
    case kDemoKindSeasonal: return "季節";
    case kDemoKindAwayFromHome: return "出稼ぎ";
    case kDemoKindDisabled: return part ? "パート（障害者）" : "フルタイム（障害者）";
    default: return part ? "パート" : "フルタイム";
    }
}

static void WriteHead(Draft& draft)
{
    DetailSheet& sheet = draft.sheet;
    const DemoPosting& posting = draft.posting;
    sheet.line("<!DOCTYPE html>");
    sheet.line("<html lang=\"ja\">");
    sheet.line("<head>");
    sheet.line("<meta charset=\"UTF-8\">");
    sheet.line("<title>求人情報詳細</title>");
    sheet.line("</head>");
    sheet.line("<body>");
    // A summary above the form, as the site shows it; the product skips it.
    sheet.line("<table class=\"summary\">");
    sheet.row("求人番号", posting.jobNumber);
    sheet.row("職種", draft.job->title);
    sheet.line("</table>");
    sheet.line("<form name=\"detailForm\" action=\"/kensaku/GECA110020.do\" method=\"post\" target=\"_blank\">");
    sheet.line("<input type=\"hidden\" name=\"kJNo\" value=\"" + posting.jobNumber + "\">");
    sheet.line("<input type=\"hidden\" name=\"kjhyoKjKbn\" value=\"" + std::to_string(posting.kind)
               + "\" id=\"ID_kjhyoKjKbn\">");
    sheet.line("<input type=\"hidden\" name=\"screenId\" value=\"GECA110020\">");
    sheet.line("</form>");
    sheet.line("<table class=\"normal\">");
    sheet.line("<tr>");
    sheet.line("<th class=\"fb\">求人番号</th><td><div id=\"ID_kjNo\">" + posting.jobNumber + "</div></td></tr>");
    sheet.expect(kSlotJobNumber, posting.jobNumber);
    sheet.row("求人区分", PostingClass(posting));
    sheet.expect(kSlotJobCategory, PostingClass(posting));
}

static std::string DetailPathOf(const DemoPosting& posting, std::string_view companyNumber)
{
    return "/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=" + posting.jobNumber
        + "&kJKbn=" + std::to_string(posting.kind) + "&jGSHNo=" + ReplaceAll(companyNumber, "-", "")
        + "&fullPart=" + std::to_string(posting.workStyle)
        + "&iNFTeikyoRiyoDtiID=&kSNo=&newArrivedButtonFlg=0&tatZngy=1&shogaiKbn="
        + (posting.kind == kDemoKindDisabled ? "1" : "0");
}

GeneratedPosting GeneratePosting(int index)
{
    Draft draft(20240401u + static_cast<std::uint32_t>(index) * 2654435761u);
    DemoPosting& posting = draft.posting;
    posting.index = index;
    draft.place = &draft.dice.weighted(DemoPlaces());
    draft.industry = &draft.dice.weighted(DemoIndustries());
    draft.job = &draft.industry->jobs[static_cast<size_t>(draft.dice.below(2))];
    ChooseKind(draft);
    posting.deleted = index % 37 == 20;
    posting.companyHidden = !posting.deleted && index % 23 == 11;
    posting.failsFirstDownload = index == 4;
    posting.waveDash = draft.dice.oneIn(4);
    posting.prefectureCode = draft.place->prefectureCode;
    posting.cityCode = draft.place->cityCode;
    posting.cityName = draft.place->city;
    posting.industryCode = draft.industry->middleCode;
    char number[32];
    std::snprintf(number, sizeof number, "%s-%08d", draft.place->officeCode,
                  24010000 + index * 13 + draft.dice.below(13));
    posting.jobNumber = number;

    draft.office = draft.makeAddress();
    draft.workplaceIsOffice = !posting.companyHidden && draft.dice.oneIn(3);
    draft.workplace = draft.workplaceIsOffice ? draft.office : draft.makeAddress();

    WriteHead(draft);
    WriteCompanySection(draft);
    WriteJobSection(draft);
    WritePaySection(draft);
    WriteHoursSection(draft);
    WriteWelfareSection(draft);
    WriteApplicationSection(draft);
    draft.sheet.line("</table>");
    draft.sheet.line("</body>");
    draft.sheet.line("</html>");

    const DemoIndustry& industry = *draft.industry;
    posting.searchText = Join({draft.job->title, draft.job->duties[0], draft.job->duties[1], draft.job->duties[2],
                               industry.business[0], industry.business[1], industry.business[2],
                               posting.companyHidden ? std::string() : draft.companyName},
                              " ");
    posting.occupation = draft.job->title;
    posting.employer = posting.companyHidden ? std::string() : draft.companyName;
    posting.area = std::string(draft.place->prefecture) + draft.place->city;
    posting.detailPath = DetailPathOf(posting, draft.companyNumber);

    GeneratedPosting generated;
    if (posting.deleted) {
        posting.fields = {};
        posting.fields[kSlotJobNumber] = "（削除済み）";
        generated.detailPage = DeletedPostingPage();
    } else {
        posting.fields = draft.sheet.fields();
        posting.postingSheetQuery = "&kJNo=" + posting.jobNumber + "&kjhyoKjKbn=" + std::to_string(posting.kind)
            + "&screenId=GECA110020";
        generated.detailPage = draft.sheet.html();
    }
    generated.posting = std::move(posting);
    return generated;
}

} // namespace kenmori
