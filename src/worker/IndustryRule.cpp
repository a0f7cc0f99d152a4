// Slots 73-75: the industry class the page names, looked up by the host in
// the reference database.

#include "site/CodePage932.h"
#include "site/TextUtils.h"
#include "worker/LineOperations.h"
#include "worker/RunHost.h"
#include "worker/SlotRules.h"

#include <vector>

void IndustryRule(const RuleInput& in, std::string_view industryText, JobRecord& record)
{
    const std::string name = Replace(TrimText(industryText), Sjis("，"), Sjis("、"));
    // An empty name would match every class and give the first one.
    if (name.empty())
        return;
    std::vector<std::string> parts;
    SplitText(in.host.LookupIndustryCategory(name), ",", parts);
    // Anything but major name, middle code, middle name and minor code
    // cannot be placed, so nothing is stored.
    if (parts.size() != 4)
        return;
    record[kSlotIndustryMajor] = TrimText(parts[0]);
    record[kSlotIndustryMiddle] = TrimText(parts[1] + ":" + parts[2]);
    record[kSlotIndustryMinor] = TrimText(parts[3] + ":" + name);
}
