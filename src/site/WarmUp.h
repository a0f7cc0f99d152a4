#pragma once
// The visit to the site's search page that lets the site set its cookie
// before a run, as a browser's visit would. It goes through the shared
// session, so the cookie also travels with every later request.

#include "site/CurlSession.h"
#include "site/SiteConfig.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace kenmori {

// The browser this visit presents itself as. It is fixed: the visit never
// draws from the agent generator, so the run's first request gets agent 0.
inline constexpr std::string_view kWarmUpUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko";

struct WarmUpResult {
    // The server answered with a page (not a redirect) before the time ran
    // out, even if its body was still arriving.
    bool pageArrived = false;
    std::string finalAddress; // where the redirects ended; empty without an answer
    std::string cookie;       // "name=value; name2=value2" as a page script sees it
    FetchResult transfer;     // status, bytes and time, for the run log
};

// Base address + "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010".
std::string SearchPageAddress(const SiteConfig& site);

// Opens the search page, waiting at most the site's warm-up time limit;
// stopRequested, polled while waiting, abandons the visit. The cookie is read
// from the store whatever became of the page.
WarmUpResult FetchSearchPage(const SiteConfig& site, const std::function<bool()>& stopRequested = {});

// Whether address is on the site's host (the host of the base address).
bool IsSiteAddress(const SiteConfig& site, const std::string& address);

} // namespace kenmori
