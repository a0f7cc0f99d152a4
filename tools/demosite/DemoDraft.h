#pragma once
// The state shared by the sections that write one demonstration posting.

#include "DemoPosting.h"
#include "DemoTables.h"
#include "DetailSheet.h"

#include <cstdint>
#include <initializer_list>
#include <random>
#include <span>
#include <string>
#include <string_view>

namespace kenmori {

// Draws from a fixed-seed engine. Only the engine's own output is used (the
// standard distributions differ between libraries), so the data is the same
// everywhere.
class Dice {
public:
    explicit Dice(std::uint32_t seed)
        : m_engine(seed)
    {
    }

    int below(int n); // 0 .. n-1; 0 when n < 1
    bool oneIn(int n) { return below(n) == 0; }
    const char* pick(std::initializer_list<const char*> texts);
    // By the items' weight member.
    template <class T>
    const T& weighted(std::span<const T> items)
    {
        int total = 0;
        for (const T& item : items)
            total += item.weight;
        int draw = below(total);
        for (const T& item : items) {
            if (draw < item.weight)
                return item;
            draw -= item.weight;
        }
        return items.front();
    }

private:
    std::mt19937 m_engine;
};

// An address as the site stores it: ASCII digits, printed full width.
struct DemoAddress {
    std::string postalCode; // "160-0023"
    std::string address;    // "東京都新宿区西新宿1-2-3"
    std::string station;
    std::string transport; // "徒歩"
    int minutes = 0;
};

struct Draft {
    explicit Draft(std::uint32_t seed)
        : dice(seed)
    {
    }

    Dice dice;
    DemoPosting posting;
    DetailSheet sheet;
    const DemoPlace* place = nullptr;
    const DemoIndustry* industry = nullptr;
    const DemoJob* job = nullptr;
    bool partTime = false;
    DemoAddress office;
    DemoAddress workplace;
    bool workplaceIsOffice = false;
    std::string companyName;
    std::string companyNumber; // "1303-123456-7"

    // The text with "～" printed as U+301C on postings that use that dash.
    std::string wave(std::string_view text) const;
    // A new address in the posting's city.
    DemoAddress makeAddress();
};

// The sections of the detail page, top to bottom; each writes its rows and
// what they must give in the CSV.
void WriteCompanySection(Draft& draft);
void WriteJobSection(Draft& draft);
void WritePaySection(Draft& draft);
void WriteHoursSection(Draft& draft);
void WriteWelfareSection(Draft& draft);
void WriteApplicationSection(Draft& draft);

} // namespace kenmori
