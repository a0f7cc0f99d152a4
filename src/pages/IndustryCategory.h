#pragma once
// Slots 73-75: the industry class a page names, placed from the reference
// database's answer. The readers only name the class; the run asks the
// database, so that reading a page needs nothing but the page.

#include "pages/JobRecord.h"

#include <string>
#include <string_view>

namespace kenmori {

// The name as it is looked up and shown: trimmed, "，" made "、".
std::string IndustryLookupName(std::string_view industryText);

// Slots 73-75 from the lookup's answer for name ("major,middle code,middle
// name,minor code"). Any answer but those four parts leaves the slots as
// they are.
void StoreIndustryCategory(std::string_view answer, const std::string& name, JobRecord& record);

} // namespace kenmori
