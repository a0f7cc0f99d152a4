// The workplace and the place of selection: an address, then the nearest
// station lines that follow it.

#include "text/CodePage932.h"
#include "text/TextUtils.h"
#include "pages/LineOperations.h"
#include "pages/SlotRules.h"

static std::string WorkplaceAddress(const RuleInput& in, int k)
{
    static const std::string kMapLink = Sjis("地図表示");
    static const std::string kCaption = Sjis("就業場所</div>");
    std::string acc;
    ScanWindow(in, k, 0, 9, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "</div>"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j))
            acc = Cleaned(RemoveAllText(AfterLabel(a), kCaption));
        else
            JoinWith(acc, Cleaned(RemoveAllText(a, kMapLink)), " ");
        return true;
    });
    static const std::string kSameAsCompany = Sjis("事業所所在地と同じ");
    if (ContainsText(acc, kSameAsCompany))
        return kSameAsCompany;
    return acc;
}

// "東京駅 徒歩 10分": station, means of transport and travel time, which
// stand on the caption line and the two lines after it.
static std::string WorkplaceStation(const RuleInput& in, int k)
{
    static const std::string kStationCaption = Sjis("最寄り駅</div>");
    static const std::string kTransportCaption = Sjis("最寄り駅から就業場所までの交通手段</div>");
    static const std::string kTimeCaption = Sjis("所要時間</div>");
    std::string station;
    ScanWindow(in, k, 1, 49, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "<tr>") || TrimmedIs(in.lines, j, "</td></tr>"))
            return false;
        if (!HeadIs(in.lines, j, "</d") || !ContainsText(LineText(in.lines, j), kStationCaption))
            return true;
        station = Cleaned(RemoveAllText(LineText(in.lines, j), kStationCaption));
        if (!LineExists(in.lines, j + 2))
            return false;
        AppendWithSpace(station, Cleaned(RemoveAllText(LineText(in.lines, j + 1), kTransportCaption)));
        AppendWithSpace(station, Cleaned(RemoveAllText(LineText(in.lines, j + 2), kTimeCaption)));
        return false;
    });
    return station;
}

void WorkplaceRule(const RuleInput& in, int k, int, JobRecord& record)
{
    record[kSlotWorkplace] = TrimText(NormalizeDigitsAndDashes(WorkplaceAddress(in, k)));
    record[kSlotNearestStation] = TrimText(WorkplaceStation(in, k));
}

static bool StartsWithTag(const PageText& lines, int j)
{
    return TrimmedLine(lines, j).starts_with('<');
}

static std::string SelectionAddress(const RuleInput& in, int k)
{
    static const std::string kMapLink = Sjis("地図表示");
    std::string acc;
    ScanWindow(in, k, 0, 19, [&](int j, int) {
        if (HeadIs(in.lines, j, "<in") || HeadIs(in.lines, j, "<sc"))
            return false;
        const std::string_view a = LineText(in.lines, j);
        if (IsLabelLine(in.lines, j))
            acc = Cleaned(ReplaceAllText(AfterLabel(a), "</div>", " "));
        else if (StartsWithTag(in.lines, j))
            AppendWithSpace(acc, Cleaned(ReplaceAllText(ReplaceAllText(a, "</div>", " "), kMapLink, " ")));
        return true;
    });
    return acc;
}

// The station block starts at the last line naming "最寄り駅"; the lines
// after it, up to the row's end, describe the way there. Lines before the
// first station line are the address again: taking them would write the
// address twice when a cell names no station.
static std::string SelectionStation(const RuleInput& in, int k)
{
    static const std::string kStation = Sjis("最寄り駅");
    static const std::string kStationCaption = Sjis("最寄り駅</div>");
    std::string station;
    bool stationSeen = false;
    ScanWindow(in, k, 1, 79, [&](int j, int) {
        if (TrimmedIs(in.lines, j, "<tr>") || IsLabelLine(in.lines, j))
            return false;
        if (!StartsWithTag(in.lines, j))
            return true;
        const std::string_view a = LineText(in.lines, j);
        if (ContainsText(a, kStation)) {
            station = Cleaned(RemoveAllText(a, kStationCaption));
            stationSeen = true;
        } else if (stationSeen) {
            AppendWithSpace(station, Cleaned(RemoveAllText(a, kStationCaption)));
        }
        return true;
    });
    return station;
}

void SelectionPlaceRule(const RuleInput& in, int k, int slot, JobRecord& record)
{
    std::string acc = SelectionAddress(in, k);
    const std::string station = SelectionStation(in, k);
    if (!station.empty())
        acc += Sjis("、") + station;
    record[static_cast<size_t>(slot)] = TrimText(NormalizeDigitsAndDashes(acc));
}
