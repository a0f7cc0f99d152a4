#pragma once
// The program's requests to the job-search site. Each stores the response body
// in a file and the callers judge the outcome by that file; the returned
// FetchResult is extra information nobody has to read.

#include "site/CurlSession.h"
#include "site/SiteConfig.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace kenmori {

// The run cookie's data: "MyCookie = " + cookie + "; expires = <one year
// after now> GMT; Path = /", the date as "Sat, 01-Jan-2028 00:00:00".
std::string RunCookieData(std::string_view cookie, std::chrono::system_clock::time_point now);

// Fetches url directly (never through a proxy) into file. stopRequested,
// when given, abandons the transfer.
FetchResult HttpGetToFile(const SiteConfig& site, const std::string& url, const std::filesystem::path& file,
                          const TransferStop& stopRequested = {});

// Posts body over HTTP/1.0 to the base address followed by objectPath (through
// the system's proxy settings) into file. A non-empty cookie is first put in
// the cookie store as the run cookie "MyCookie" for the site's host.
FetchResult HttpPostToFile(const SiteConfig& site, const std::string& body, const std::filesystem::path& file,
                           const std::string& objectPath, const std::string& cookie,
                           const TransferStop& stopRequested = {});

// The store's cookies for the site's host, "name=value; name2=value2".
std::string StoredSiteCookies(const SiteConfig& site, bool withHttpOnly = false);

} // namespace kenmori
