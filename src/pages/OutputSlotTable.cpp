#include "pages/OutputSlotTable.h"

namespace kenmori {

using Aliases = std::array<const char*, 2>;

// The page's row carries the field's name as its label.
static constexpr OutputSlotRow Named(int slot, const char* name, SlotRule rule, Aliases aliases = {})
{
    return {slot, name, name, aliases, rule};
}

// The page's row has a label of its own.
static constexpr OutputSlotRow Labelled(int slot, const char* name, const char* label, SlotRule rule,
                                        Aliases aliases = {})
{
    return {slot, name, label, aliases, rule};
}

// No row of the page fills the slot by itself.
static constexpr OutputSlotRow Unlabelled(int slot, const char* name)
{
    return {slot, name, nullptr, {}, nullptr};
}

// One line to a slot, so that a field's name, label and rule read together.
// clang-format off
static constexpr std::array<OutputSlotRow, kOutputFieldCount> kRows = {
    Named(kSlotJobNumber, "求人番号", GeneralRule),
    Named(kSlotJobCategory, "求人区分", GeneralRule),
    Named(kSlotCompanyNumber, "事業所番号", GeneralRule),
    Named(kSlotCompanyName, "事業所名", NameRule),
    Unlabelled(kSlotCompanyKana, "事業所名カナ"), // by NameRule
    Named(kSlotRepresentative, "役職／代表者名", RepresentativeRule, {"代表者名"}),
    Named(kSlotCorporateNumber, "法人番号", GeneralRule),
    Labelled(kSlotPostalCode, "郵便番号", "所在地", PostalAddressRule),
    Unlabelled(kSlotAddress, "住所"), // by PostalAddressRule
    Labelled(kSlotTelephone, "電話番号", "担当者", ContactRule),
    Unlabelled(kSlotFax, "FAX番号"), // by ContactRule
    Named(kSlotHomePage, "ホームページ", GeneralRule),
    Named(kSlotFounded, "設立年", GeneralRule),
    Named(kSlotCapital, "資本金", GeneralRule),
    Named(kSlotLabourUnion, "労働組合", GeneralRule),
    Named(kSlotBusiness, "事業内容", GeneralRule),
    Named(kSlotCompanyFeatures, "会社の特長", GeneralRule),
    Named(kSlotOccupation, "職種", OccupationRule),
    Named(kSlotEmploymentType, "雇用形態", GeneralRule),
    Named(kSlotDispatch, "派遣・請負等", GeneralRule, {"就業形態"}),
    Named(kSlotEmploymentPeriod, "雇用期間", GeneralRule),
    Named(kSlotAge, "年齢", AgeRule),
    Unlabelled(kSlotAgeLimitReason, "年齢制限の理由"), // by AgeRule
    Named(kSlotWorkingHours, "就業時間", FigureRule),
    Named(kSlotBreakTime, "休憩時間", FigureRule),
    Named(kSlotOvertime, "時間外労働時間", ListRule, {"時間外労働"}),
    Labelled(kSlotWorkingDays, "月平均（週所定）労働日数", "労働日数", FigureRule, {"月平均労働日数", "週所定労働日数"}),
    Labelled(kSlotBasePay, "基本給", "基本給（ａ）", FigureRule),
    Labelled(kSlotFixedAllowances, "定額的に支払われる手当", "定額的に支払われる手当（ｂ）", FigureRule),
    Labelled(kSlotFixedOvertimePay, "固定残業代", "固定残業代（ｃ）", FigureRule),
    Labelled(kSlotOtherAllowances, "その他の手当等", "その他の手当等付記事項（ｄ）", FigureRule),
    Labelled(kSlotTotalWage, "合計賃金", "ａ ＋ ｂ（固定残業代がある場合はａ ＋ ｂ ＋ ｃ）", TotalWageRule),
    Named(kSlotWageForm, "賃金形態等", FigureRule, {"賃金形態"}),
    Named(kSlotWageClosingDay, "賃金締切日", FigureRule),
    Named(kSlotPayday, "賃金支払日", GeneralRule),
    Named(kSlotPayRaise, "昇給", ListRule),
    Named(kSlotBonus, "賞与", ListRule),
    Named(kSlotHolidays, "休日等", HolidayRule),
    Named(kSlotTwoDayWeekend, "週休二日", GeneralRule),
    Named(kSlotAnnualHolidays, "年間休日数", GeneralRule),
    Named(kSlotWorkRules, "就業規則", ListRule),
    Named(kSlotChildcareLeaveRecord, "育児休業取得実績", GeneralRule),
    Named(kSlotNursingCareLeaveRecord, "介護休業取得実績", GeneralRule),
    Named(kSlotSickChildLeaveRecord, "看護休暇取得実績", GeneralRule),
    Named(kSlotForeignStaffRecord, "外国人雇用実績", GeneralRule),
    Named(kSlotUijTurnWelcome, "UIJターン歓迎", GeneralRule),
    Named(kSlotChildcareFacility, "利用可能託児施設", GeneralRule),
    Named(kSlotWorkplace, "就業場所", WorkplaceRule),
    Unlabelled(kSlotNearestStation, "最寄り駅"), // by WorkplaceRule
    Named(kSlotTransferPossible, "転勤の可能性", GeneralRule),
    Named(kSlotEmployeeCount, "従業員数", ListRule),
    Named(kSlotInsurance, "加入保険等", ChoiceRule),
    Named(kSlotCorporatePension, "企業年金", ChoiceRule),
    Named(kSlotRetirementMutualAid, "退職金共済", GeneralRule),
    Named(kSlotRetirementAllowance, "退職金制度", GeneralRule),
    Named(kSlotRetirementAge, "定年制", GeneralRule),
    Named(kSlotReemployment, "再雇用制度", GeneralRule),
    Named(kSlotWorkExtension, "勤務延長", GeneralRule),
    Named(kSlotHousing, "入居可能住宅", GeneralRule),
    Named(kSlotCarCommuting, "マイカー通勤", GeneralRule),
    Named(kSlotCommutingAllowance, "通勤手当", GeneralRule),
    Named(kSlotHiringCount, "採用人数", GeneralRule),
    Named(kSlotJobDescription, "仕事内容", GeneralRule, {"仕事の内容"}),
    Named(kSlotEducation, "学歴", GeneralRule),
    Named(kSlotExperience, "必要な経験等", GeneralRule),
    Named(kSlotLicences, "必要な免許・資格", LicenceRule),
    Named(kSlotTrialEmployment, "トライアル雇用併用の希望", GeneralRule),
    Named(kSlotProbation, "試用期間", GeneralRule),
    Named(kSlotCompanyMessage, "事業所からのメッセージ", GeneralRule),
    Named(kSlotJobBasedPay, "職務給制度", GeneralRule),
    Named(kSlotReinstatement, "復職制度", GeneralRule),
    Named(kSlotTraining, "研修制度", GeneralRule),
    Labelled(kSlotOtherNotes, "その他特記・補足事項", "事業所に関する特記事項", GeneralRule, {"補足事項"}),
    Unlabelled(kSlotIndustryMajor, "産業大分類名"), // by the run, from the industry's name
    Unlabelled(kSlotIndustryMiddle, "産業中分類名"), // likewise
    // The row's industry name goes to the run to look up (ApplySlotRule).
    Labelled(kSlotIndustryMinor, "産業小分類名", "産業分類", nullptr),
    Named(kSlotOnlineApplication, "オンライン自主応募の受付", GeneralRule),
    Named(kSlotSelectionMethod, "選考方法", ChoiceRule),
    Named(kSlotSelectionResult, "選考結果通知", ChoiceRule),
    Named(kSlotApplicantNotice, "求職者への通知方法", ChoiceRule),
    Named(kSlotApplicationDocuments, "応募書類等", ListRule),
    Named(kSlotDocumentReturn, "応募書類の返戻", GeneralRule),
    Named(kSlotSelectionSchedule, "選考日時等", GeneralRule, {"説明会"}),
    Named(kSlotSelectionPlace, "選考場所", SelectionPlaceRule),
    Named(kSlotGraduatesAccepted, "既卒者・中退者の応募可否", GeneralRule),
    Named(kSlotGraduateStartDate, "既卒者等の入社日", GeneralRule),
    Unlabelled(kSlotContactPerson, "担当者"), // by ContactRule: the page's "担当者" row is the contact block
    Unlabelled(kSlotContactEmail, "担当者メールアドレス"), // by ContactRule
    Named(kSlotPostingNotes, "求人に関する特記事項", GeneralRule, {"求人条件にかかる特記事項"}),
    Named(kSlotReceivedDate, "受付年月日", GeneralRule),
    Named(kSlotReferralDeadline, "紹介期限日", GeneralRule),
    Named(kSlotReceivingOffice, "受理安定所", GeneralRule),
    Unlabelled(kSlotPostingSheetUrl, "求人票PDFURL"), // by the run, from the posting-sheet form
    Unlabelled(kSlotPageUrl, "ページURL"), // by the run: the page's address
};
// clang-format on

// Every kSlot constant names its own row, so no row can drift from its slot.
static constexpr bool EveryRowAtItsSlot()
{
    for (size_t at = 0; at < kRows.size(); ++at) {
        if (kRows[at].slot != static_cast<int>(at))
            return false;
    }
    return true;
}
static_assert(EveryRowAtItsSlot(), "a row of the output slot table is not at its kSlot index");

const std::array<OutputSlotRow, kOutputFieldCount>& OutputSlotTable()
{
    return kRows;
}

} // namespace kenmori
