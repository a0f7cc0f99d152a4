#pragma once
// The process's one libcurl session: every request, whatever thread sends it,
// uses a handle from OpenSessionHandle and so shares one cookie store. Cookies
// the site sets on any response travel with every later request to its host.

#include <curl/curl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// Bounds a dead connection: connecting may take connectTimeoutMs, and a
// transfer slower than lowSpeedBytesPerSecond for lowSpeedSeconds ends.
struct TransferLimits {
    long connectTimeoutMs = 30000;
    long lowSpeedBytesPerSecond = 1;
    long lowSpeedSeconds = 60;
};

TransferLimits CurrentTransferLimits();
void SetTransferLimits(const TransferLimits& limits);

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlSlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistDeleter>;

// A fresh handle on the shared cookie store: cookie engine on, http and https
// only, redirects followed, current transfer limits applied, no agent, no
// headers. Null only when libcurl cannot allocate one.
CurlEasy OpenSessionHandle();

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

struct FetchResult {
    bool responded = false;  // a final response arrived, so the file was created
    long statusCode = 0;     // status of the last response seen, 0 without one
    bool stored = false;     // responded and every body byte reached the file
    bool complete = false;   // the transfer ran to its normal end
};

// Performs the request set up on handle. The file is created (truncated) only
// once a final response arrives and then receives the body byte for byte; a
// request that gets no response leaves it untouched. If the file cannot be
// created the body is still read to its end. Takes over the handle's write
// and header callbacks.
FetchResult PerformToFile(CURL* handle, const std::filesystem::path& file);

// Host part of url, IPv6 brackets removed; empty when url does not parse.
std::string HostOfUrl(const std::string& url);

// Cookies of the store that would go to host, as "name=value; name2=value2"
// (the form a page script reads). Expired cookies never appear; HttpOnly ones
// only with withHttpOnly, since a page script cannot see them either.
std::string StoredCookiesForHost(std::string_view host, bool withHttpOnly);

// Empties the shared cookie store.
void ClearStoredCookies();
