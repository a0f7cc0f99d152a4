#include "pages/IndustryCategory.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <vector>

namespace kenmori {

std::string IndustryLookupName(std::string_view industryText)
{
    static const std::string kFullWidthComma = Sjis("，");
    static const std::string kIdeographicComma = Sjis("、");
    return ReplaceAllText(TrimText(industryText), kFullWidthComma, kIdeographicComma);
}

void StoreIndustryCategory(std::string_view answer, const std::string& name, JobRecord& record)
{
    std::vector<std::string> parts;
    SplitText(answer, ",", parts);
    // Anything but major name, middle code, middle name and minor code
    // cannot be placed, so nothing is stored.
    if (parts.size() != 4)
        return;
    record[kSlotIndustryMajor] = TrimText(parts[0]);
    record[kSlotIndustryMiddle] = TrimText(parts[1] + ":" + parts[2]);
    record[kSlotIndustryMinor] = TrimText(parts[3] + ":" + name);
}

} // namespace kenmori
