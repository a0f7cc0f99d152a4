// The workplace and the place of selection: an address, then the nearest
// station and the way there.

#include "pages/SlotRules.h"
#include "pages/ValueText.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <algorithm>

namespace kenmori {

static const std::string& StationCaption()
{
    static const std::string kCaption = Sjis("最寄り駅");
    return kCaption;
}

// The first line of the station block: its caption, or a text naming it.
static size_t StationLine(const LineList& lines, size_t from)
{
    const auto station = std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(std::min(from, lines.size())),
                                      lines.end(), [](const RowLine& line) {
                                          return line.caption.starts_with(StationCaption())
                                              || ContainsText(line.text(), StationCaption());
                                      });
    return static_cast<size_t>(station - lines.begin());
}

static std::string WorkplaceAddress(const LineList& lines, size_t stationLine)
{
    static const std::string kMapLink = Sjis("地図表示");
    static const std::string kCaption = Sjis("就業場所");
    std::string acc;
    for (size_t at = 0; at < stationLine; ++at) {
        if (at == 0)
            acc = TrimText(RemoveAllText(lines[at].textWithout(kCaption), kMapLink));
        else
            JoinWith(acc, TrimText(RemoveAllText(lines[at].text(), kMapLink)), " ");
    }
    static const std::string kSameAsCompany = Sjis("事業所所在地と同じ");
    if (ContainsText(acc, kSameAsCompany))
        return kSameAsCompany;
    return acc;
}

// "東京駅 徒歩 10分": station, means of transport and travel time, each
// after its caption.
static std::string WorkplaceStation(const LineList& lines, size_t stationLine)
{
    static const std::string kTransportCaption = Sjis("最寄り駅から就業場所までの交通手段");
    static const std::string kTimeCaption = Sjis("所要時間");
    if (stationLine >= lines.size())
        return {};
    std::string station = lines[stationLine].textWithout(StationCaption());
    if (stationLine + 1 < lines.size())
        AppendWithSpace(station, lines[stationLine + 1].textWithout(kTransportCaption));
    if (stationLine + 2 < lines.size())
        AppendWithSpace(station, lines[stationLine + 2].textWithout(kTimeCaption));
    return station;
}

void WorkplaceRule(const LineList& lines, int, JobRecord& record)
{
    // The first line names no station even when its text does.
    const size_t stationLine = StationLine(lines, 1);
    record[kSlotWorkplace] = TrimText(NormalizeDigitsAndDashes(WorkplaceAddress(lines, stationLine)));
    record[kSlotNearestStation] = TrimText(WorkplaceStation(lines, stationLine));
}

// The address lines, the map link a blank; then, after "、", the station
// block: the station and every line after it.
void SelectionPlaceRule(const LineList& lines, int slot, JobRecord& record)
{
    static const std::string kMapLink = Sjis("地図表示");
    const size_t stationLine = StationLine(lines, 1);
    std::string acc;
    for (size_t at = 0; at < stationLine; ++at) {
        const std::string text = TrimText(ReplaceAllText(lines[at].text(), kMapLink, " "));
        if (at == 0)
            acc = text;
        else
            AppendWithSpace(acc, text);
    }
    std::string station;
    for (size_t at = stationLine; at < lines.size(); ++at) {
        if (at == stationLine)
            station = lines[at].textWithout(StationCaption());
        else
            AppendWithSpace(station, lines[at].textWithout(StationCaption()));
    }
    if (!station.empty())
        acc += Sjis("、") + station;
    record[static_cast<size_t>(slot)] = TrimText(NormalizeDigitsAndDashes(acc));
}

} // namespace kenmori
