#include "pages/DetailLabels.h"
#include "pages/OutputSlotTable.h"
#include "run/OutputFieldCatalog.h"
#include "support/DetailTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace kenmori;

TEST(OutputSlotTable, CatalogIsTheRowsNamesInSlotOrder)
{
    const auto& rows = OutputSlotTable();
    ASSERT_EQ(OutputFieldCatalog().size(), rows.size());
    std::set<std::string> names;
    for (size_t slot = 0; slot < rows.size(); ++slot) {
        const OutputSlotRow& row = rows[slot];
        EXPECT_EQ(row.slot, static_cast<int>(slot));
        ASSERT_NE(row.name, nullptr) << slot;
        EXPECT_STRNE(row.name, "") << slot;
        EXPECT_STREQ(OutputFieldNamesUtf8()[slot], row.name) << slot;
        EXPECT_EQ(OutputFieldCatalog()[slot], S(row.name)) << row.name;
        // A name outside code page 932 would reach the CSV header altered.
        EXPECT_EQ(U(S(row.name)), row.name) << slot;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
    }
    // The constants name the fields they say, the ones beside a label of the
    // same text too.
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotJobNumber], "求人番号");
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotCompanyKana], "事業所名カナ");
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotTelephone], "電話番号");
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotWorkingDays], "月平均（週所定）労働日数");
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotIndustryMinor], "産業小分類名");
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotContactPerson], "担当者");
    EXPECT_STREQ(OutputFieldNamesUtf8()[kSlotPageUrl], "ページURL");
}

// The slot that a page row under text reaches, read as the page gives it.
static int SlotOfRowLabelled(const char* text, JobRecord& record)
{
    const DetailPageParts parts = ReadDetailPageParts(RowPage("<div>値１</div><div>値２</div>", text));
    if (parts.rows.empty())
        return -2;
    const int slot = FindLabelSlot(parts.rows.front().label);
    std::vector<std::string> industryNames;
    ApplySlotRule(slot, parts.rows.front(), record, industryNames);
    return slot;
}

// Every label and each of its other spellings leads a page's row to its own
// slot, whose rule then fills something; no spelling is claimed twice.
TEST(OutputSlotTable, EveryLabelAndAliasReachesItsRowsRule)
{
    std::set<std::string> spellings;
    for (const OutputSlotRow& row : OutputSlotTable()) {
        if (!row.label) {
            EXPECT_EQ(row.rule, nullptr) << row.name;
            EXPECT_EQ(row.aliases, (std::array<const char*, 2>{})) << row.name;
            continue;
        }
        // The run, not a rule, turns the industry row into slots.
        EXPECT_EQ(row.rule == nullptr, row.slot == kSlotIndustryMinor) << row.name;
        std::vector<const char*> texts{row.label};
        for (const char* alias : row.aliases) {
            if (alias)
                texts.push_back(alias);
        }
        for (const char* text : texts) {
            EXPECT_TRUE(spellings.insert(text).second) << text;
            JobRecord record;
            EXPECT_EQ(SlotOfRowLabelled(text, record), row.slot) << text;
            if (row.rule) {
                EXPECT_NE(record, JobRecord{}) << text;
            }
        }
    }
    EXPECT_EQ(spellings.size(), 83u + 10u); // labels of 83 slots, 10 other spellings
}
