#include "run/OutputFieldCatalog.h"

#include "text/CodePage932.h"

const std::array<const char*, kOutputFieldCount>& OutputFieldNamesUtf8()
{
    // Four fields to a row, so that a field's number is easy to find.
    // clang-format off
    static constexpr std::array<const char*, kOutputFieldCount> kNames = {
        "求人番号", "求人区分", "事業所番号", "事業所名",
        "事業所名カナ", "役職／代表者名", "法人番号", "郵便番号",
        "住所", "電話番号", "FAX番号", "ホームページ",
        "設立年", "資本金", "労働組合", "事業内容",
        "会社の特長", "職種", "雇用形態", "派遣・請負等",
        "雇用期間", "年齢", "年齢制限の理由", "就業時間",
        "休憩時間", "時間外労働時間", "月平均（週所定）労働日数", "基本給",
        "定額的に支払われる手当", "固定残業代", "その他の手当等", "合計賃金",
        "賃金形態等", "賃金締切日", "賃金支払日", "昇給",
        "賞与", "休日等", "週休二日", "年間休日数",
        "就業規則", "育児休業取得実績", "介護休業取得実績", "看護休暇取得実績",
        "外国人雇用実績", "UIJターン歓迎", "利用可能託児施設", "就業場所",
        "最寄り駅", "転勤の可能性", "従業員数", "加入保険等",
        "企業年金", "退職金共済", "退職金制度", "定年制",
        "再雇用制度", "勤務延長", "入居可能住宅", "マイカー通勤",
        "通勤手当", "採用人数", "仕事内容", "学歴",
        "必要な経験等", "必要な免許・資格", "トライアル雇用併用の希望", "試用期間",
        "事業所からのメッセージ", "職務給制度", "復職制度", "研修制度",
        "その他特記・補足事項", "産業大分類名", "産業中分類名", "産業小分類名",
        "オンライン自主応募の受付", "選考方法", "選考結果通知", "求職者への通知方法",
        "応募書類等", "応募書類の返戻", "選考日時等", "選考場所",
        "既卒者・中退者の応募可否", "既卒者等の入社日", "担当者", "担当者メールアドレス",
        "求人に関する特記事項", "受付年月日", "紹介期限日", "受理安定所",
        "求人票PDFURL", "ページURL",
    };
    // clang-format on
    return kNames;
}

const std::vector<std::string>& OutputFieldCatalog()
{
    static const std::vector<std::string> kCatalog = [] {
        std::vector<std::string> names;
        for (const char* name : OutputFieldNamesUtf8())
            names.push_back(Utf8ToShiftJis(name));
        return names;
    }();
    return kCatalog;
}
