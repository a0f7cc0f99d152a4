#pragma once
// The small tables from which the demonstration postings are built. Cities
// and industry groups are those of the reference database (T02_CITY,
// T03_CTGR), so the product's lookups find them.

#include <array>
#include <span>

namespace kenmori {

struct DemoPlace {
    const char* prefectureCode; // "13"
    const char* prefecture;     // "東京都"
    const char* cityCode;       // prefecture code and city number, "13104"
    const char* city;           // as in the reference table, "新宿区"
    const char* postalPrefix;   // "160"
    const char* phoneArea;      // "03"
    const char* officeCode;     // the employment office, first part of job numbers
    const char* office;         // "新宿公共職業安定所"
    std::array<const char*, 3> towns;
    std::array<const char*, 3> stations; // the station nearest to each town
    int weight;
};

enum class LegalForm { CompanyBefore, CompanyAfter, Limited, Welfare, Medical };

struct DemoJob {
    const char* title;                 // 職種
    std::array<const char*, 3> duties; // 仕事内容: first line, continued line, further line
    const char* licence;               // 必要な免許・資格
    const char* licenceNote;           // second line, or nullptr
    const char* experience;            // 必要な経験等
    int monthlyBase;                   // lowest monthly base wage, yen
    int hourlyBase;                    // lowest hourly wage, yen
};

struct DemoIndustry {
    const char* majorName;  // Ctgr1Name
    const char* middleCode; // Ctgr2Code
    const char* middleName; // Ctgr2Name
    const char* groupCode;  // Ctgr3Code
    const char* groupName;  // Ctgr3Name
    const char* shownName;  // as the detail page prints it ("，" for "、")
    LegalForm form;
    const char* suffix; // company name ending, kanji
    const char* suffixKana;
    const char* suffixRoman;
    std::array<const char*, 3> business; // 事業内容 lines
    const char* feature;                 // 会社の特長
    std::array<DemoJob, 2> jobs;
    int weight;
};

struct DemoNamePart {
    const char* kanji;
    const char* kana;
    const char* roman;
};

std::span<const DemoPlace> DemoPlaces();
std::span<const DemoIndustry> DemoIndustries();
std::span<const DemoNamePart> DemoCompanyCores();
std::span<const char* const> DemoSurnames();
std::span<const char* const> DemoGivenNames();

} // namespace kenmori
