#include "run/OutputFieldCatalog.h"

#include "pages/OutputSlotTable.h"
#include "text/CodePage932.h"

namespace kenmori {

const std::array<const char*, kOutputFieldCount>& OutputFieldNamesUtf8()
{
    static const std::array<const char*, kOutputFieldCount> kNames = [] {
        std::array<const char*, kOutputFieldCount> names{};
        for (const OutputSlotRow& row : OutputSlotTable())
            names[static_cast<size_t>(row.slot)] = row.name;
        return names;
    }();
    return kNames;
}

const std::vector<std::string>& OutputFieldCatalog()
{
    static const std::vector<std::string> kCatalog = [] {
        std::vector<std::string> names;
        for (const char* name : OutputFieldNamesUtf8())
            names.push_back(Utf8ToShiftJis(name));
        return names;
    }();
    return kCatalog;
}

} // namespace kenmori
