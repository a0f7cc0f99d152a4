#include "site/SiteAccess.h"
#include "worker/OutputFieldCatalog.h"

#include <cstdio>

// Until the main window exists, the program reports what the core offers.
int main()
{
    std::printf("Kenmori: core built with %d output fields; site %s\n",
                kOutputFieldCount, SiteBaseAddress().c_str());
    return 0;
}
