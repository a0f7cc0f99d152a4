// The employer's rows: company name, representative, and the contact block.

#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/LineOperations.h"
#include "pages/SlotRules.h"

static std::string CellText(std::string_view text)
{
    return Cleaned(ReplaceAllText(text, "</div>", " "));
}

// The label row carries the name in kana, continued by "<br" lines; the
// line after them holds the name itself.
void NameRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    std::string kana;
    int nameOffset = 1;
    ScanWindow(in, k, 0, 9, [&](int j, int offset) {
        if (HeadIs(in.lines, j, "<di") || HeadIs(in.lines, j, "</d"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j)) {
            kana = CellText(AfterLabel(a));
        } else if (HeadIs(in.lines, j, "<br")) {
            kana += Cleaned(a);
            nameOffset = offset + 1;
        }
        return true;
    });
    record[kSlotCompanyKana] = TrimText(kana);
    if (LineExists(in.lines, k + nameOffset))
        record[static_cast<size_t>(slot)] = Cleaned(LineText(in.lines, k + nameOffset));
}

// Title on the label row, name on the next: "代表取締役 山田 太郎".
void RepresentativeRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    static const std::string kTitleCaption = Sjis("役職</div>");
    static const std::string kNameCaption = Sjis("代表者名</div>");
    std::string acc = Cleaned(RemoveAllText(AfterLabel(LineText(in.lines, k)), kTitleCaption));
    if (LineExists(in.lines, k + 1))
        AppendWithSpace(acc, Cleaned(RemoveAllText(LineText(in.lines, k + 1), kNameCaption)));
    record[static_cast<size_t>(slot)] = TrimText(acc);
}

static std::string ContactPerson(const RuleInput& in, int k)
{
    static const std::string kTelephoneCaption = Sjis("電話番号");
    static const std::string kSeparator = Sjis("、");
    std::string acc;
    ScanWindow(in, k, 0, 19, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "<hr>") || TrimmedIs(in.lines, j, "</div></td></tr>"))
            return false;
        if (IsLabelLine(in.lines, j)) {
            acc = CellText(AfterLabel(LineText(in.lines, j)));
        } else if (HeadIs(in.lines, j, "<di")) {
            // The person's lines end where the numbers begin.
            if (RawLineContains(in.lines, j, "\"flex\""))
                return false;
            const std::string v = CellText(LineText(in.lines, j));
            if (ContainsText(v, kTelephoneCaption))
                return false;
            JoinWith(acc, v, kSeparator);
        }
        return true;
    });
    return acc;
}

static bool HasEitherMarker(const PageText& lines, int j, std::string_view marker, std::string_view otherMarker)
{
    return RawLineContains(lines, j, marker) || RawLineContains(lines, j, otherMarker);
}

static std::string NumberWithout(const PageText& lines, int j, const char* captionUtf8)
{
    return TrimText(RemoveAllText(Cleaned(LineText(lines, j)), Sjis(captionUtf8)));
}

// Contact person, then telephone, FAX and e-mail from the lines marked
// "ttsTel", "ttsFax" and "ttsEmail" (or their "gsTts" forms).
void ContactRule(const RuleInput& in, int k, int, JobRecord& record)
{
    record[kSlotContactPerson] = TrimText(ContactPerson(in, k));
    ScanWindow(in, k, 1, 19, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "</div></td></tr>") || IsLabelLine(in.lines, j))
            return false;
        if (!HeadIs(in.lines, j, "<di"))
            return true;
        if (HasEitherMarker(in.lines, j, "ttsTel\"", "gsTtsTel\"")) {
            record[kSlotTelephone] = NumberWithout(in.lines, j, "電話番号");
        } else if (HasEitherMarker(in.lines, j, "ttsFax\"", "gsTtsFax\"")) {
            record[kSlotFax] = NumberWithout(in.lines, j, "ＦＡＸ");
        } else if (HasEitherMarker(in.lines, j, "ttsEmail\"", "gsTtsEmail\"")) {
            record[kSlotContactEmail] = NumberWithout(in.lines, j, "Ｅメール");
            return false;
        }
        return true;
    });
}
