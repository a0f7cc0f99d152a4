#include "site/WarmUp.h"

#include "site/CurlSession.h"
#include "site/SiteAccess.h"
#include "site/TextUtils.h"

#include <algorithm>
#include <charconv>

// Notes whether a final answer (not a redirect that is followed) arrived.
struct WarmUpProgress {
    long status = 0;
    bool location = false;
    bool pageArrived = false;
    const std::function<bool()>* stopRequested = nullptr;
};

static std::size_t DiscardBody(char*, std::size_t size, std::size_t count, void*)
{
    return size * count;
}

static std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* progress = static_cast<WarmUpProgress*>(user);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        progress->location = false;
        progress->status = 0;
        const auto space = line.find(' ');
        if (space != std::string_view::npos)
            std::from_chars(line.data() + space + 1, line.data() + line.size(), progress->status);
    } else if (line.size() > 9 && SameTextIgnoringCase(line.substr(0, 9), "location:")) {
        progress->location = true;
    } else if (line == "\r\n" || line == "\n") {
        const bool followed = progress->status / 100 == 3 && progress->location;
        if (progress->status >= 200 && !followed)
            progress->pageArrived = true;
    }
    return size * count;
}

static int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* progress = static_cast<WarmUpProgress*>(user);
    const bool stop = progress->stopRequested && *progress->stopRequested
        && (*progress->stopRequested)();
    return stop ? 1 : 0;
}

std::string SearchPageAddress()
{
    return SiteBaseAddress() + "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010";
}

WarmUpResult FetchSearchPage(std::chrono::milliseconds timeLimit,
                             const std::function<bool()>& stopRequested)
{
    WarmUpResult result;
    const CurlEasy handle = OpenSessionHandle();
    CurlSlist headers(curl_slist_append(nullptr, "Accept: text/html, application/xhtml+xml, image/jxr, */*"));
    if (headers && curl_slist_append(headers.get(), "Accept-Language: ja-JP") && handle) {
        const std::string url = SearchPageAddress();
        const std::string agent(kWarmUpUserAgent);
        WarmUpProgress progress;
        progress.stopRequested = &stopRequested;
        CURL* h = handle.get();
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
        curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
        // libcurl reads 0 as no limit at all.
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, std::max(1L, static_cast<long>(timeLimit.count())));
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, DiscardBody);
        curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeaderLine);
        curl_easy_setopt(h, CURLOPT_HEADERDATA, &progress);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &progress);
        curl_easy_perform(h);
        result.pageArrived = progress.pageArrived;
        char* effective = nullptr;
        if (result.pageArrived && curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK
            && effective)
            result.finalAddress = effective;
    }
    result.cookie = StoredSiteCookies(false);
    return result;
}

bool IsSiteAddress(const std::string& address)
{
    const std::string host = HostOfUrl(address);
    return !host.empty() && SameTextIgnoringCase(host, HostOfUrl(SiteBaseAddress()));
}
