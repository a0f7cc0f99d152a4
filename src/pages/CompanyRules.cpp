// The employer's rows: company name, representative, and the contact block.

#include "pages/SlotRules.h"
#include "pages/ValueText.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

namespace kenmori {

// The row starts with the name in kana, continued after a <br>; the line
// after the kana holds the name itself. Without one, the name stays as it
// was (the page may have said it is withheld).
void NameRule(const LineList& lines, int slot, JobRecord& record)
{
    std::string kana;
    size_t at = 0;
    if (!lines.empty())
        kana = lines[at++].text();
    while (at < lines.size() && lines[at].afterBreak)
        kana += lines[at++].text();
    record[kSlotCompanyKana] = TrimText(kana);
    if (at < lines.size())
        record[static_cast<size_t>(slot)] = lines[at].text();
}

// Title first, name next: "代表取締役 山田 太郎".
void RepresentativeRule(const LineList& lines, int slot, JobRecord& record)
{
    static const std::string kTitleCaption = Sjis("役職");
    static const std::string kNameCaption = Sjis("代表者名");
    std::string acc;
    if (!lines.empty())
        acc = lines[0].textWithout(kTitleCaption);
    if (lines.size() > 1)
        AppendWithSpace(acc, lines[1].textWithout(kNameCaption));
    record[static_cast<size_t>(slot)] = TrimText(acc);
}

// The person's lines come first and end where the numbers begin: at a group
// of captions and values, or at the telephone caption.
static std::string ContactPerson(const LineList& lines)
{
    static const std::string kTelephoneCaption = Sjis("電話番号");
    static const std::string kSeparator = Sjis("、");
    std::string acc;
    for (size_t at = 0; at < lines.size(); ++at) {
        const std::string text = lines[at].text();
        if (at > 0 && (lines[at].inGroup || ContainsText(text, kTelephoneCaption)))
            break;
        JoinWith(acc, text, kSeparator);
    }
    return acc;
}

static std::string NumberWithout(const RowLine& line, const char* captionUtf8)
{
    return TrimText(RemoveAllText(line.text(), Sjis(captionUtf8)));
}

// Contact person, then telephone, FAX and e-mail from the lines marked
// "ttsTel", "ttsFax" and "ttsEmail" (or their "gsTts" forms).
void ContactRule(const LineList& lines, int, JobRecord& record)
{
    record[kSlotContactPerson] = TrimText(ContactPerson(lines));
    for (size_t at = 1; at < lines.size(); ++at) {
        const RowLine& line = lines[at];
        if (line.hasMark("ttsTel")) {
            record[kSlotTelephone] = NumberWithout(line, "電話番号");
        } else if (line.hasMark("ttsFax")) {
            record[kSlotFax] = NumberWithout(line, "ＦＡＸ");
        } else if (line.hasMark("ttsEmail")) {
            record[kSlotContactEmail] = NumberWithout(line, "Ｅメール");
            break;
        }
    }
}

} // namespace kenmori
