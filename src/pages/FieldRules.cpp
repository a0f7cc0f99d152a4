#include "pages/FieldRules.h"

#include "pages/OutputSlotTable.h"
#include "pages/SlotRules.h"

#include <utility>

namespace kenmori {

void ApplySlotRule(int slot, const LabelledRow& row, JobRecord& record, std::vector<std::string>& industryNames)
{
    if (slot < 0 || slot >= kOutputFieldCount)
        return;
    const std::vector<RowLine> lines = RowLines(row);
    if (slot == kSlotIndustryMinor) {
        // An empty name would match every class and give the first one.
        if (std::string name = IndustryNameOf(lines); !name.empty())
            industryNames.push_back(std::move(name));
        return;
    }
    if (const SlotRule rule = OutputSlotTable()[static_cast<size_t>(slot)].rule)
        rule(lines, slot, record);
}

} // namespace kenmori
