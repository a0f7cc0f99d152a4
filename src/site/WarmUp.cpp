#include "site/WarmUp.h"

#include "site/SitePaths.h"
#include "site/CurlSession.h"
#include "site/SiteAccess.h"
#include "text/TextUtils.h"

#include <algorithm>

namespace kenmori {

// The answer so far, and the stop check polled while it arrives.
struct WarmUpProgress {
    CurlResponseTracker response;
    const std::function<bool()>* stopRequested = nullptr;
    long long bytes = 0;
};

static std::size_t DiscardBody(char*, std::size_t size, std::size_t count, void* user)
{
    if (user)
        static_cast<WarmUpProgress*>(user)->bytes += static_cast<long long>(size * count);
    return size * count;
}

static int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* progress = static_cast<WarmUpProgress*>(user);
    const bool stop = progress->stopRequested && *progress->stopRequested && (*progress->stopRequested)();
    return stop ? 1 : 0;
}

std::string SearchPageAddress(const SiteConfig& site)
{
    return site.baseAddress + std::string(kDetailScreenPath) + "?action=initDisp&screenId=GECA110010";
}

WarmUpResult FetchSearchPage(const SiteConfig& site, const std::function<bool()>& stopRequested)
{
    WarmUpResult result;
    const CurlEasy handle = OpenSessionHandle(site.limits);
    CurlSlist headers(curl_slist_append(nullptr, "Accept: text/html, application/xhtml+xml, image/jxr, */*"));
    if (headers && curl_slist_append(headers.get(), "Accept-Language: ja-JP") && handle) {
        const std::string url = SearchPageAddress(site);
        const std::string agent(kWarmUpUserAgent);
        WarmUpProgress progress;
        progress.stopRequested = &stopRequested;
        CURL* h = handle.get();
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
        curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
        // libcurl reads 0 as no limit at all.
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, std::max(1L, static_cast<long>(site.warmUpTimeLimit.count())));
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, DiscardBody);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &progress);
        curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, TrackResponseHeader);
        curl_easy_setopt(h, CURLOPT_HEADERDATA, &progress.response);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &progress);
        const CURLcode code = curl_easy_perform(h);
        result.pageArrived = progress.response.finalArrived;
        result.transfer.responded = result.pageArrived;
        result.transfer.complete = code == CURLE_OK;
        result.transfer.stored = true; // nothing to store
        result.transfer.stopped = code == CURLE_ABORTED_BY_CALLBACK;
        result.transfer.bytes = progress.bytes;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.transfer.statusCode);
        curl_off_t elapsedUs = 0;
        if (curl_easy_getinfo(h, CURLINFO_TOTAL_TIME_T, &elapsedUs) == CURLE_OK)
            result.transfer.elapsedMs = static_cast<long long>(elapsedUs / 1000);
        char* effective = nullptr;
        if (result.pageArrived && curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK
            && effective)
            result.finalAddress = effective;
    }
    result.cookie = StoredSiteCookies(site, false);
    return result;
}

bool IsSiteAddress(const SiteConfig& site, const std::string& address)
{
    const std::string host = HostOfUrl(address);
    return !host.empty() && SameTextIgnoringCase(host, HostOfUrl(site.baseAddress));
}

} // namespace kenmori
