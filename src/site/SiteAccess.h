#pragma once
// The program's requests to the job-search site. Each stores the response body
// in a file and the callers judge the outcome by that file; the returned
// FetchResult is extra information nobody has to read.

#include "site/CurlSession.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

inline constexpr std::array<std::string_view, 5> UserAgentTable{
    "Mozilla/5.0 (Windows NT 6.2; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/52.0.2743.116 Safari/537.36 Edge/15.15063",
    "Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/52.0.2743.116 Safari/537.36 Edge/15.15063",
    "Mozilla/5.0 (Windows NT 6.3; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/51.0.2704.79 Safari/537.36 Edge/14.14393",
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/64.0.3282.140 Safari/537.36 Edge/17.17134",
    "Mozilla/5.0 (Windows NT 5.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/58.0.3029.110 Safari/537.36 Edge/16.16299",
};

// Linear congruential generator whose state starts at 0 and is never seeded,
// so every start of the program sends the same sequence of agents.
struct AgentGenerator {
    std::uint32_t state = 0;

    // Index in 0..n-1 (0 when n < 1).
    int next(int n);
};

// A copy of the process-wide generator, to predict the next agents.
AgentGenerator ProcessAgentGenerator();

// One draw from the process-wide generator: the agent of the next request.
std::string_view DrawUserAgent();

// Scheme, host and optional port of the site, without a trailing slash.
std::string SiteBaseAddress();
void SetSiteBaseAddress(std::string baseAddress);

// Whether the address names this machine: 127.0.0.0/8, localhost or [::1].
bool IsLoopbackAddress(const std::string& address);

// The wall clock that dates the run cookie; tests set it.
using WallClock = std::function<std::chrono::system_clock::time_point()>;
void SetCookieClock(WallClock clock); // empty: the system clock

// The run cookie's data: "MyCookie = " + cookie + "; expires = <one year
// after now> GMT; Path = /", the date as "Sat, 01-Jan-2028 00:00:00".
std::string RunCookieData(std::string_view cookie, std::chrono::system_clock::time_point now);

// Fetches url directly (never through a proxy) into file. stopRequested,
// when given, abandons the transfer.
FetchResult HttpGetToFile(const std::string& url, const std::filesystem::path& file,
                          const TransferStop& stopRequested = {});

// Posts body over HTTP/1.0 to the base address followed by objectPath (through
// the system's proxy settings) into file. A non-empty cookie is first put in
// the cookie store as the run cookie "MyCookie" for the site's host.
FetchResult HttpPostToFile(const std::string& body, const std::filesystem::path& file,
                           const std::string& objectPath, const std::string& cookie,
                           const TransferStop& stopRequested = {});

// The store's cookies for the site's host, "name=value; name2=value2".
std::string StoredSiteCookies(bool withHttpOnly = false);
