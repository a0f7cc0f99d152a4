#include "site/SiteAccess.h"

#include "site/SitePaths.h"
#include "text/TextUtils.h"

#include <cstdio>
#include <initializer_list>

namespace kenmori {

// Null when libcurl runs out of memory; a request then is not sent at all.
static CurlSlist HeaderList(std::initializer_list<std::string> lines)
{
    CurlSlist list;
    for (const std::string& line : lines) {
        curl_slist* appended = curl_slist_append(list.get(), line.c_str());
        if (!appended)
            return {};
        list.release();
        list.reset(appended);
    }
    return list;
}

std::string RunCookieData(std::string_view cookie, std::chrono::system_clock::time_point now)
{
    // A fixed date would make every later run's cookie arrive already expired.
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto expiry = std::chrono::floor<std::chrono::seconds>(now + std::chrono::days(365));
    const auto day = std::chrono::floor<std::chrono::days>(expiry);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss time(expiry - day);
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02u-%s-%04d %02d:%02d:%02d",
                  kDays[std::chrono::weekday(day).c_encoding()], static_cast<unsigned>(date.day()),
                  kMonths[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return "MyCookie = " + std::string(cookie) + "; expires = " + text + " GMT; Path = /";
}

// The browser's cookie text may hold several pairs; it goes into the line
// untouched, except that a line cannot hold NUL, CR or LF, and whatever came
// after one would also lose the domain that keeps the cookie to the site.
static std::string RunCookieLine(std::string_view cookie, const std::string& host,
                                 std::chrono::system_clock::time_point now)
{
    cookie = cookie.substr(0, cookie.find_first_of(std::string_view("\0\r\n", 3)));
    return "Set-Cookie: MyCookie=" + RunCookieData(cookie, now) + "; domain=" + host;
}

FetchResult HttpGetToFile(const SiteConfig& site, const std::string& url, const std::filesystem::path& file,
                          const TransferStop& stopRequested)
{
    const std::string agent(site.agents->draw());
    const CurlSlist headers = HeaderList({
        "Accept: text/html, application/xhtml+xml, image/jxr, */*",
        "Accept-Language: ja-JP",
        "Accept-Encoding: none",
        "Connection: Keep-Alive",
        "Content-Encoding: none",
    });
    const CurlEasy handle = OpenSessionHandle(site.limits);
    if (!headers || !handle)
        return {};
    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    // HTTP/2 would drop the Connection line and rewrite the others.
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // An empty proxy name means a direct connection whatever the environment says.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    return PerformToFile(h, file, site.limits.maxBodyBytes, stopRequested);
}

FetchResult HttpPostToFile(const SiteConfig& site, const std::string& body, const std::filesystem::path& file,
                           const std::string& objectPath, const std::string& cookie,
                           const TransferStop& stopRequested)
{
    const std::string& base = site.baseAddress;
    const CurlSlist headers = HeaderList({
        "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
        "Accept-Language: ja,en-US;q=0.9,en;q=0.8", "Accept-Encoding: none",
        "Content-Type: application/x-www-form-urlencoded", "Connection: keep-alive",
        "Referer: " + base + std::string(kResultListPath),
        "Expect:", // only stops libcurl from adding its own
    });
    const CurlEasy handle = OpenSessionHandle(site.limits);
    if (handle && !cookie.empty()) {
        const std::string host = HostOfUrl(base);
        if (!host.empty())
            curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, RunCookieLine(cookie, host, site.now()).c_str());
    }
    const std::string agent(site.agents->draw());
    if (!headers || !handle)
        return {};
    const std::string url = base + objectPath;
    CURL* h = handle.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    return PerformToFile(h, file, site.limits.maxBodyBytes, stopRequested);
}

std::string StoredSiteCookies(const SiteConfig& site, bool withHttpOnly)
{
    const std::string host = HostOfUrl(site.baseAddress);
    return host.empty() ? std::string() : StoredCookiesForHost(host, withHttpOnly);
}

} // namespace kenmori
