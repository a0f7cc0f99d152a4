#include "pages/DetailLabels.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <QString>

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>

const std::array<std::string, kDetailLabelCount>& DetailLabelTable()
{
    // clang-format off
    static constexpr std::array<const char*, kDetailLabelCount> kLabels = {
        "求人番号", "求人区分", "事業所番号", "事業所名", "*",
        "役職／代表者名", "法人番号", "所在地", "*", "担当者",
        "*", "ホームページ", "設立年", "資本金", "労働組合",
        "事業内容", "会社の特長", "職種", "雇用形態", "派遣・請負等",
        "雇用期間", "年齢", "*", "就業時間", "休憩時間",
        "時間外労働時間", "労働日数", "基本給（ａ）", "定額的に支払われる手当（ｂ）",
        "固定残業代（ｃ）", "その他の手当等付記事項（ｄ）",
        "ａ ＋ ｂ（固定残業代がある場合はａ ＋ ｂ ＋ ｃ）", "賃金形態等", "賃金締切日",
        "賃金支払日", "昇給", "賞与", "休日等", "週休二日",
        "年間休日数", "就業規則", "育児休業取得実績", "介護休業取得実績", "看護休暇取得実績",
        "外国人雇用実績", "UIJターン歓迎", "利用可能託児施設", "就業場所", "*",
        "転勤の可能性", "従業員数", "加入保険等", "企業年金", "退職金共済",
        "退職金制度", "定年制", "再雇用制度", "勤務延長", "入居可能住宅",
        "マイカー通勤", "通勤手当", "採用人数", "仕事内容", "学歴",
        "必要な経験等", "必要な免許・資格", "トライアル雇用併用の希望", "試用期間",
        "事業所からのメッセージ", "職務給制度", "復職制度", "研修制度", "事業所に関する特記事項",
        "*", "*", "産業分類", "オンライン自主応募の受付", "選考方法",
        "選考結果通知", "求職者への通知方法", "応募書類等", "応募書類の返戻", "選考日時等",
        "選考場所", "既卒者・中退者の応募可否", "既卒者等の入社日", "*", "*",
        "求人に関する特記事項", "受付年月日", "紹介期限日", "受理安定所",
    };
    // clang-format on
    static const std::array<std::string, kDetailLabelCount> kTable = [] {
        std::array<std::string, kDetailLabelCount> labels;
        std::transform(kLabels.begin(), kLabels.end(), labels.begin(), Sjis);
        return labels;
    }();
    return kTable;
}

// Lets the answer tables below be asked with a view, without a copy.
struct TransparentHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};

static int FindLabelSlotUncached(std::string_view label)
{
    // "*" only keeps the table's positions; a page text "*" is no label.
    if (label == "*")
        return -1;
    // Letter case is ignored the way the system's locale compares texts: for
    // full-width, Greek and Cyrillic letters too, never across widths.
    static const std::array<QString, kDetailLabelCount> kLabelTexts = [] {
        std::array<QString, kDetailLabelCount> texts;
        std::transform(DetailLabelTable().begin(), DetailLabelTable().end(), texts.begin(),
                       [](const std::string& entry) { return ShiftJisToQString(entry); });
        return texts;
    }();
    const QString text = ShiftJisToQString(label);
    // Bytes that are no code page 932 text decode to a stand-in character
    // and must not match a label that holds that character.
    if (QStringToShiftJis(text) != label)
        return -1;
    for (int slot = 0; slot < kDetailLabelCount; ++slot) {
        if (kLabelTexts[static_cast<size_t>(slot)].compare(text, Qt::CaseInsensitive) == 0)
            return slot;
    }
    return -1;
}

int FindLabelSlot(std::string_view label)
{
    // A page repeats few labels, and comparing by locale is slow: answers are
    // kept per thread, a bounded number of them.
    thread_local std::unordered_map<std::string, int, TransparentHash, std::equal_to<>> answers;
    if (const auto known = answers.find(label); known != answers.end())
        return known->second;
    if (answers.size() >= 1024)
        answers.clear();
    const int slot = FindLabelSlotUncached(label);
    answers.emplace(std::string(label), slot);
    return slot;
}

std::string AliasedLabel(std::string label)
{
    static const std::pair<std::string, std::string> kAliases[] = {
        {Sjis("月平均労働日数"), Sjis("労働日数")},
        {Sjis("週所定労働日数"), Sjis("労働日数")},
        {Sjis("代表者名"), Sjis("役職／代表者名")},
        {Sjis("就業形態"), Sjis("派遣・請負等")},
        {Sjis("仕事の内容"), Sjis("仕事内容")},
        {Sjis("時間外労働"), Sjis("時間外労働時間")},
        {Sjis("求人条件にかかる特記事項"), Sjis("求人に関する特記事項")},
        {Sjis("賃金形態"), Sjis("賃金形態等")},
        {Sjis("説明会"), Sjis("選考日時等")},
        {Sjis("補足事項"), Sjis("事業所に関する特記事項")},
    };
    for (const auto& [spelling, name] : kAliases) {
        if (label == spelling)
            return name;
    }
    return label;
}
