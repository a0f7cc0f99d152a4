#include "app/SiteSettings.h"

#include "app/IniFile.h"
#include "site/SiteAccess.h"
#include "site/TextUtils.h"

void ApplySiteSettings(const IniFile& settings)
{
    const std::string address = TrimText(settings.readString("Site", "BaseAddress", ""));
    if (!address.empty())
        SetSiteBaseAddress(address);
}
