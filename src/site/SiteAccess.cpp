#include "site/SiteAccess.h"

#include "site/SitePaths.h"
#include "text/TextUtils.h"

#include <cstdio>
#include <initializer_list>
#include <mutex>

static std::mutex agentMutex;
static AgentGenerator processAgents;

static std::mutex baseAddressMutex;

static std::mutex cookieClockMutex;
static WallClock cookieClock;

// Built on first use, so that it is ready even for callers in static initialisers.
static std::string& BaseAddressSetting()
{
    static std::string address = "https://www.hellowork.mhlw.go.jp";
    return address;
}

int AgentGenerator::next(int n)
{
    state = state * 134775813u + 1u;
    if (n < 1)
        return 0;
    return static_cast<int>((std::uint64_t{state} * static_cast<std::uint64_t>(n)) >> 32);
}

AgentGenerator ProcessAgentGenerator()
{
    std::lock_guard lock(agentMutex);
    return processAgents;
}

std::string_view DrawUserAgent()
{
    std::lock_guard lock(agentMutex);
    return UserAgentTable[static_cast<std::size_t>(processAgents.next(static_cast<int>(UserAgentTable.size())))];
}

std::string SiteBaseAddress()
{
    std::lock_guard lock(baseAddressMutex);
    return BaseAddressSetting();
}

void SetSiteBaseAddress(std::string address)
{
    while (address.ends_with('/'))
        address.pop_back();
    std::lock_guard lock(baseAddressMutex);
    BaseAddressSetting() = std::move(address);
}

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

bool IsLoopbackAddress(const std::string& address)
{
    const std::string host = HostOfUrl(address);
    if (SameTextIgnoringCase(host, "localhost") || host == "::1")
        return true;
    unsigned parts[4];
    char end = 0;
    if (std::sscanf(host.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &end) != 4)
        return false;
    return parts[0] == 127 && parts[1] < 256 && parts[2] < 256 && parts[3] < 256;
}

void SetCookieClock(WallClock clock)
{
    std::lock_guard lock(cookieClockMutex);
    cookieClock = std::move(clock);
}

static std::chrono::system_clock::time_point CookieNow()
{
    std::lock_guard lock(cookieClockMutex);
    return cookieClock ? cookieClock() : std::chrono::system_clock::now();
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
static std::string RunCookieLine(std::string_view cookie, const std::string& host)
{
    cookie = cookie.substr(0, cookie.find_first_of(std::string_view("\0\r\n", 3)));
    return "Set-Cookie: MyCookie=" + RunCookieData(cookie, CookieNow()) + "; domain=" + host;
}

FetchResult HttpGetToFile(const std::string& url, const std::filesystem::path& file,
                          const TransferStop& stopRequested)
{
    const std::string agent(DrawUserAgent());
    const CurlSlist headers = HeaderList({
        "Accept: text/html, application/xhtml+xml, image/jxr, */*",
        "Accept-Language: ja-JP",
        "Accept-Encoding: none",
        "Connection: Keep-Alive",
        "Content-Encoding: none",
    });
    const CurlEasy handle = OpenSessionHandle();
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
    return PerformToFile(h, file, stopRequested);
}

FetchResult HttpPostToFile(const std::string& body, const std::filesystem::path& file,
                           const std::string& objectPath, const std::string& cookie,
                           const TransferStop& stopRequested)
{
    const std::string base = SiteBaseAddress();
    const CurlSlist headers = HeaderList({
        "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
        "Accept-Language: ja,en-US;q=0.9,en;q=0.8", "Accept-Encoding: none",
        "Content-Type: application/x-www-form-urlencoded", "Connection: keep-alive",
        "Referer: " + base + std::string(kResultListPath),
        "Expect:", // only stops libcurl from adding its own
    });
    const CurlEasy handle = OpenSessionHandle();
    if (handle && !cookie.empty()) {
        const std::string host = HostOfUrl(base);
        if (!host.empty())
            curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, RunCookieLine(cookie, host).c_str());
    }
    const std::string agent(DrawUserAgent());
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
    return PerformToFile(h, file, stopRequested);
}

std::string StoredSiteCookies(bool withHttpOnly)
{
    const std::string host = HostOfUrl(SiteBaseAddress());
    return host.empty() ? std::string() : StoredCookiesForHost(host, withHttpOnly);
}
