#include "CliOptions.h"

#include "run/ConditionChoices.h"
#include "run/ConditionTable.h"
#include "text/CodePage932.h"
#include "run/OutputFieldCatalog.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QUrl>

#include <optional>
#include <span>

namespace kenmori {

namespace {

// Thrown inside ApplyConditionOptions only, to leave at the first bad value.
struct OptionError {
    std::string message;
};

[[noreturn]] void Fail(const QString& option, const QString& text)
{
    throw OptionError{QStringLiteral("--%1: %2").arg(option, text).toStdString()};
}

QString ChoiceList(std::span<const char* const> names)
{
    QStringList list;
    for (const char* name : names)
        list << QString::fromUtf8(name);
    return list.join(QStringLiteral(", "));
}

// Index of name in names, or nothing.
std::optional<int> Find(std::span<const char* const> names, const QString& name)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (name == QString::fromUtf8(names[i]))
            return static_cast<int>(i);
    return std::nullopt;
}

int Choice(const QString& option, std::span<const char* const> names, const QString& name)
{
    if (const auto index = Find(names, name))
        return *index;
    Fail(option, QStringLiteral("unknown choice \"%1\". Valid choices: %2").arg(name, ChoiceList(names)));
}

// Code page 932 text for a text box of at most maxBytes bytes. Look-alikes
// that input methods type ("〜", "−" ...) become the code page's own forms,
// as in the window.
std::string BoxText(const QString& option, const QString& typed, size_t maxBytes)
{
    const QString text = WithCodePage932Forms(typed);
    // A character without a Shift-JIS code would reach the site changed.
    if (const QString refused = FirstCharacterWithoutCodePage932Form(text); !refused.isEmpty())
        Fail(option, QStringLiteral("\"%1\" holds \"%2\", which Shift-JIS cannot write").arg(typed, refused));
    const std::string converted = QStringToShiftJis(text);
    if (converted.size() > maxBytes)
        Fail(option, QStringLiteral("longer than %1 bytes in Shift-JIS").arg(maxBytes));
    return converted;
}

// The official name of the prefecture with item index i + 1: the window's
// name with 都, 府 or 県 where the official name carries one.
QString OfficialPrefectureName(int i)
{
    const QString name = QString::fromUtf8(PrefectureNames()[static_cast<size_t>(i)]);
    if (i + 1 == 1 || i + 1 == kPrefectureCount) // 北海道, 海外
        return name;
    if (i + 1 == 13)
        return name + QStringLiteral("都");
    if (i + 1 == 26 || i + 1 == 27)
        return name + QStringLiteral("府");
    return name + QStringLiteral("県");
}

// Item index of a prefecture: the window's name (東京) or the official one
// (東京都).
int PrefectureIndex(const QString& name)
{
    const auto names = std::span(PrefectureNames());
    if (const auto index = Find(names, name))
        return *index + 1;
    for (int i = 0; i < kPrefectureCount; ++i)
        if (name == OfficialPrefectureName(i))
            return i + 1;
    Fail(QStringLiteral("prefecture"),
         QStringLiteral("unknown prefecture \"%1\". Valid names: %2").arg(name, ChoiceList(names)));
}

// Item index of an industry division: its code (1 to 99), its name, or the
// window's item text "39 : 情報サービス業".
int IndustryIndex(const QString& value)
{
    const auto names = std::span(IndustryDivisionNames());
    static const QRegularExpression kCode(QStringLiteral("^\\d{1,2}$"));
    if (kCode.match(value).hasMatch()) {
        const int number = value.toInt();
        if (number >= 1 && number <= kIndustryDivisionCount)
            return number;
    }
    static const QRegularExpression kItem(QStringLiteral("^(\\d{2}) : (.+)$"));
    const QRegularExpressionMatch parts = kItem.match(value);
    const QString name = parts.hasMatch() ? parts.captured(2) : value;
    if (const auto index = Find(names, name);
        index && (!parts.hasMatch() || parts.captured(1).toInt() == *index + 1))
        return *index + 1;
    QStringList valid;
    for (int i = 0; i < kIndustryDivisionCount; ++i)
        valid << QStringLiteral("%1 %2").arg(i + 1, 2, 10, QLatin1Char('0')).arg(QString::fromUtf8(names[i]));
    Fail(QStringLiteral("industry"),
         QStringLiteral("unknown industry \"%1\". Valid codes and names: %2")
             .arg(value, valid.join(QStringLiteral(", "))));
}

// The row of an option that sets one member.
const ConditionRow& RowOf(const char* option)
{
    return *ConditionRowsOf(option).front();
}

void ApplyText(const char* option, const QString& typed, SettingsValues& values)
{
    const ConditionRow& row = RowOf(option);
    values.*row.text = BoxText(QLatin1String(option), typed, row.maxBytes);
}

// A name of the list's choices; a list with a blank first item has it
// before the named ones.
void ApplyChoice(const char* option, std::span<const char* const> names, const QString& name,
                 SettingsValues& values)
{
    const ConditionRow& row = RowOf(option);
    const int blankItems = row.itemCount - static_cast<int>(names.size());
    values.*row.number = Choice(QLatin1String(option), names, name) + blankItems;
}

void ApplyPrefectures(const QStringList& names, SettingsValues& values)
{
    const auto rows = ConditionRowsOf("prefecture");
    if (names.size() > static_cast<qsizetype>(rows.size()))
        Fail(QStringLiteral("prefecture"), QStringLiteral("at most three prefectures can be given"));
    for (size_t i = 0; i < rows.size(); ++i)
        values.*rows[i]->number = static_cast<qsizetype>(i) < names.size() ? PrefectureIndex(names[i]) : 0;
}

// Each code fills a major and a minor row, in pairs.
void ApplyCategoryCodes(const QStringList& codes, SettingsValues& values)
{
    const auto rows = ConditionRowsOf("category-code");
    const qsizetype pairs = static_cast<qsizetype>(rows.size() / 2);
    if (codes.size() > pairs)
        Fail(QStringLiteral("category-code"), QStringLiteral("at most two codes can be given"));
    const QString major = QString::number(rows[0]->maxBytes);
    const QString minor = QString::number(rows[1]->maxBytes);
    const QRegularExpression shape(QStringLiteral("^(\\d{1,%1})(?:-(\\d{1,%2}))?$").arg(major, minor));
    for (qsizetype i = 0; i < pairs; ++i) {
        std::string& majorPart = values.*rows[static_cast<size_t>(2 * i)]->text;
        std::string& minorPart = values.*rows[static_cast<size_t>(2 * i + 1)]->text;
        majorPart.clear();
        minorPart.clear();
        if (i >= codes.size())
            continue;
        const QRegularExpressionMatch match = shape.match(codes[i]);
        if (!match.hasMatch())
            Fail(QStringLiteral("category-code"),
                 QStringLiteral("\"%1\" is not MAJOR[-MINOR] (up to %2 and %3 digits)")
                     .arg(codes[i], major, minor));
        majorPart = match.captured(1).toStdString();
        minorPart = match.captured(2).toStdString();
    }
}

void ApplyJobSeeker(const QString& number, SettingsValues& values)
{
    const auto rows = ConditionRowsOf("job-seeker");
    const std::size_t first = rows[0]->maxBytes;
    const std::size_t second = rows[1]->maxBytes;
    const QRegularExpression shape(QStringLiteral("^(\\d{1,%1})-(\\d{1,%2})$").arg(first).arg(second));
    const QRegularExpressionMatch match = shape.match(number);
    if (!match.hasMatch())
        Fail(QStringLiteral("job-seeker"),
             QStringLiteral("\"%1\" is not %2-%3")
                 .arg(number, QString(static_cast<qsizetype>(first), QLatin1Char('N')),
                      QString(static_cast<qsizetype>(second), QLatin1Char('N'))));
    values.*rows[0]->text = match.captured(1).toStdString();
    values.*rows[1]->text = match.captured(2).toStdString();
}

// Ticks the start position's check box and fills its digit box.
void ApplyStart(const QString& position, SettingsValues& values)
{
    const auto rows = ConditionRowsOf("start");
    for (const ConditionRow* row : rows) {
        if (row->kind != ConditionKind::Digits)
            continue;
        const QRegularExpression digits(QStringLiteral("^\\d{1,%1}$").arg(row->maxBytes));
        if (!digits.match(position).hasMatch())
            Fail(QStringLiteral("start"),
                 QStringLiteral("\"%1\" is not a number of up to %2 digits")
                     .arg(position, QString::number(row->maxBytes)));
    }
    for (const ConditionRow* row : rows) {
        if (row->kind == ConditionKind::Check)
            values.*row->ticked = true;
        else
            values.*row->text = position.toStdString();
    }
}

void ApplyFields(const QString& list, SettingsValues& values)
{
    if (list == QLatin1String("all")) {
        (values.*RowOf("fields").fields).fill(true);
        return;
    }
    const auto names = std::span(OutputFieldNamesUtf8());
    OutputFieldChecks checks{};
    for (const QString& name : list.split(QLatin1Char(','))) {
        const auto index = Find(names, name.trimmed());
        if (!index)
            Fail(QStringLiteral("fields"),
                 QStringLiteral("unknown field \"%1\". Valid fields: all, or any of %2")
                     .arg(name.trimmed(), ChoiceList(names)));
        checks[static_cast<size_t>(*index)] = true;
    }
    values.*RowOf("fields").fields = checks;
}

std::string BaseAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    const bool plain = url.isValid() && !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery()
        && !url.hasFragment() && (url.path().isEmpty() || url.path() == QLatin1String("/"));
    if (!plain || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http")))
        Fail(QStringLiteral("base-address"),
             QStringLiteral("\"%1\" is not a scheme and host such as https://www.example.jp").arg(text));
    QUrl address = url;
    address.setPath(QString());
    return address.toString(QUrl::FullyEncoded).toStdString();
}

void Apply(const QCommandLineParser& parser, SettingsValues& values)
{
    const auto set = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };

    if (set("prefecture"))
        ApplyPrefectures(parser.values(QStringLiteral("prefecture")), values);
    if (set("city"))
        ApplyText("city", value("city"), values);
    if (set("kind"))
        ApplyChoice("kind", OfferTypeNames(), value("kind"), values);
    if (set("dispatch"))
        ApplyChoice("dispatch", JobHakenNames(), value("dispatch"), values);
    if (set("occupation"))
        ApplyChoice("occupation", JobTypeNames(), value("occupation"), values);
    if (set("industry"))
        values.*RowOf("industry").number = IndustryIndex(value("industry"));
    if (set("words"))
        ApplyText("words", value("words"), values);
    if (set("words-mode")) {
        static constexpr std::array<const char*, 3> kModes{"or", "and", "not"};
        values.*RowOf("words-mode").number = Choice(QStringLiteral("words-mode"), kModes,
                                                    value("words-mode").toLower());
    }
    if (set("category-code"))
        ApplyCategoryCodes(parser.values(QStringLiteral("category-code")), values);
    if (set("job-seeker"))
        ApplyJobSeeker(value("job-seeker"), values);
    if (set("recent")) {
        // One check box for each choice, in the rows' order.
        static constexpr std::array<const char*, 2> kRecent{"today", "week"};
        const int recent = Choice(QStringLiteral("recent"), kRecent, value("recent"));
        const auto rows = ConditionRowsOf("recent");
        for (size_t i = 0; i < rows.size(); ++i)
            values.*rows[i]->ticked = recent == static_cast<int>(i);
    }
    if (set("named-only"))
        values.*RowOf("named-only").ticked = true;
    if (set("only-new"))
        values.*RowOf("only-new").ticked = true;
    if (set("start"))
        ApplyStart(value("start"), values);
    if (set("fields"))
        ApplyFields(value("fields"), values);
    if (set("base-address"))
        values.baseAddress = BaseAddress(value("base-address"));
}

} // namespace

void AddConditionOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {"prefecture",
         "Prefecture as in the window's list (東京, 大阪, 北海道 ...; 東京都 etc. too); up to three times.",
         "NAME"},
        {"city", "City names within the first prefecture, separated by blanks.", "NAMES"},
        {"kind", "Kind of posting as in the window (一般（指定なし） ... 障害（パート）).", "TEXT"},
        {"dispatch", "派遣のみ, 請負のみ or 派遣・請負を除く.", "TEXT"},
        {"occupation", "Desired occupation as in the window's list.", "TEXT"},
        {"industry", "Desired industry: division code 1-99 or its name.", "CODE|TEXT"},
        {"words", "Free words.", "TEXT"},
        {"words-mode", "How the free words combine: or, and, not.", "MODE"},
        {"category-code", "Occupation-category code; up to two times.", "MAJOR[-MINOR]"},
        {"job-seeker", "Job-seeker number.", "NNNNN-NNNNNNNN"},
        {"recent", "Only recent postings: today (today and yesterday) or week.", "WHEN"},
        {"named-only", "Only postings that show the company name."},
        {"only-new", "Only postings that no earlier run of the same search wrote."},
        {"start", "Start position (rounded down to a multiple of 30).", "N"},
        {"fields", "Output fields: all, or CSV header names separated by commas.", "LIST"},
        {"base-address", "The site's scheme and host.", "URL"},
    });
}

std::string ApplyConditionOptions(const QCommandLineParser& parser, SettingsValues& values)
{
    try {
        Apply(parser, values);
    } catch (const OptionError& error) {
        return error.message;
    }
    return {};
}

} // namespace kenmori
