#pragma once
// The process's one libcurl session: every request, whatever thread sends it,
// uses a handle from OpenSessionHandle and so shares one cookie store. Cookies
// the site sets on any response travel with every later request to its host.

#include <curl/curl.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kenmori {

// Bounds a dead or endless transfer: connecting may take connectTimeoutMs, a
// transfer slower than lowSpeedBytesPerSecond for lowSpeedSeconds ends, no
// request lasts longer than totalTimeoutMs, and no body grows beyond
// maxBodyBytes (a detail page is about 100 KB). Beyond any of them the
// request counts as failed.
struct TransferLimits {
    long connectTimeoutMs = 30000;
    long lowSpeedBytesPerSecond = 1;
    long lowSpeedSeconds = 60;
    long totalTimeoutMs = 120000;
    long long maxBodyBytes = 20LL * 1024 * 1024;
};

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlSlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistDeleter>;

// Initialises libcurl and the shared cookie store. Call it on the thread
// that starts the others before any of them sends a request: libcurl's and
// OpenSSL's global set-up is not for a secondary thread.
void PrepareSiteSession();

// A fresh handle on the shared cookie store: cookie engine on, http and https
// only, redirects followed, the transfer limits applied, no agent, no
// headers. Null only when libcurl cannot allocate one.
CurlEasy OpenSessionHandle(const TransferLimits& limits);

// What became of one request. Callers of the site functions may ignore it.
// Tells a final response from a redirect that libcurl goes on to follow.
struct CurlResponseTracker {
    long status = 0;
    bool location = false;
    bool finalArrived = false;
};

// CURLOPT_HEADERFUNCTION that feeds each header line to the
// CurlResponseTracker given as CURLOPT_HEADERDATA.
std::size_t TrackResponseHeader(char* data, std::size_t size, std::size_t count, void* tracker);

// Polled while a transfer runs (about once a second when nothing arrives);
// true abandons the transfer.
using TransferStop = std::function<bool()>;

struct FetchResult {
    bool responded = false;  // a final response arrived, so the file was created
    long statusCode = 0;     // status of the last response seen, 0 without one
    bool stored = false;     // responded and every body byte reached the file
    bool complete = false;   // the transfer ran to its normal end
    bool tooLarge = false;   // the body went beyond the size limit
    bool stopped = false;    // abandoned on a stop request
    long long bytes = 0;     // body bytes received
    long long elapsedMs = 0; // from the start of the request to its end

    // The page can be used: it arrived whole, with a status below 400, and
    // reached the file.
    bool usable() const { return complete && stored && statusCode < 400; }
};

// Performs the request set up on handle. The file is created (truncated) only
// once a final response arrives and then receives the body byte for byte; a
// request that gets no response leaves it untouched. If the file cannot be
// created the body is still read to its end. A body beyond maxBodyBytes and
// a stop request end the transfer. Takes over the handle's write, header and
// progress callbacks.
FetchResult PerformToFile(CURL* handle, const std::filesystem::path& file, long long maxBodyBytes,
                          const TransferStop& stopRequested = {});

// Host part of url, IPv6 brackets removed; empty when url does not parse.
std::string HostOfUrl(const std::string& url);

// Cookies of the store that would go to host, as "name=value; name2=value2"
// (the form a page script reads). Expired cookies never appear; HttpOnly ones
// only with withHttpOnly, since a page script cannot see them either.
std::string StoredCookiesForHost(std::string_view host, bool withHttpOnly);

// Empties the shared cookie store.
void ClearStoredCookies();

} // namespace kenmori
