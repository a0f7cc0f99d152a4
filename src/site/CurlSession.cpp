#include "site/CurlSession.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <ctime>
#include <fstream>
#include <mutex>
#include <vector>

namespace kenmori {

struct CurlSharedSession {
    CURLSH* share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
};

static void LockShared(CURL*, curl_lock_data data, curl_lock_access, void* user)
{
    auto* session = static_cast<CurlSharedSession*>(user);
    if (data >= 0 && data < CURL_LOCK_DATA_LAST)
        session->locks[data].lock();
}

static void UnlockShared(CURL*, curl_lock_data data, void* user)
{
    auto* session = static_cast<CurlSharedSession*>(user);
    if (data >= 0 && data < CURL_LOCK_DATA_LAST)
        session->locks[data].unlock();
}

// Created on first use (which also initialises libcurl, once) and never
// destroyed: a request on another thread may still run while statics die.
static CurlSharedSession& Session()
{
    static CurlSharedSession* const kSession = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        auto* created = new CurlSharedSession;
        created->share = curl_share_init();
        if (created->share) {
            curl_share_setopt(created->share, CURLSHOPT_LOCKFUNC, LockShared);
            curl_share_setopt(created->share, CURLSHOPT_UNLOCKFUNC, UnlockShared);
            curl_share_setopt(created->share, CURLSHOPT_USERDATA, created);
            curl_share_setopt(created->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        }
        return created;
    }();
    return *kSession;
}

void PrepareSiteSession()
{
    Session();
}

// The file is opened on the first body byte, or after the transfer when a
// response came without one, so a failed request never touches it.
struct CurlBodyFile {
    const std::filesystem::path& path;
    std::ofstream out;
    bool opened = false;
    bool failed = false;
    long long received = 0;
    long long limit = 0; // 0: none
    bool tooLarge = false;

    void open()
    {
        if (opened)
            return;
        opened = true;
        out.open(path, std::ios::binary | std::ios::trunc);
        failed = !out.is_open();
    }

    void write(const char* data, std::size_t size)
    {
        open();
        if (failed || size == 0)
            return;
        out.write(data, static_cast<std::streamsize>(size));
        failed = !out;
    }

    void close()
    {
        if (!out.is_open())
            return;
        out.close();
        failed = failed || out.fail();
    }
};

static bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

static bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* body = static_cast<CurlBodyFile*>(user);
    if (!body)
        return size * count;
    // libcurl checks the announced length itself; a body sent without one is
    // counted here, and returning less than given ends the transfer.
    body->received += static_cast<long long>(size * count);
    if (body->limit > 0 && body->received > body->limit) {
        body->tooLarge = true;
        return 0;
    }
    body->write(data, size * count);
    return size * count;
}

static int OnTransferProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* stop = static_cast<const TransferStop*>(user);
    return stop && *stop && (*stop)() ? 1 : 0;
}

std::size_t TrackResponseHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* tracker = static_cast<CurlResponseTracker*>(user);
    const std::string_view line(data, size * count);
    if (!tracker)
        return line.size();
    if (line.starts_with("HTTP/")) {
        tracker->status = 0;
        tracker->location = false;
        const auto space = line.find(' ');
        if (space != std::string_view::npos)
            std::from_chars(line.data() + space + 1, line.data() + line.size(), tracker->status);
    } else if (StartsWithNoCase(line, "location:")) {
        tracker->location = true;
    } else if (line == "\r\n" || line == "\n") {
        const bool followed = tracker->status / 100 == 3 && tracker->location;
        if (tracker->status >= 200 && !followed)
            tracker->finalArrived = true;
    }
    return size * count;
}

static std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// Whether a cookie listed by libcurl (Netscape format) goes to host.
static bool CookieMatches(std::string_view domain, bool tailmatch, std::string_view host)
{
    if (!tailmatch)
        return EqualsNoCase(domain, host);
    if (domain.starts_with('.'))
        domain.remove_prefix(1);
    if (EqualsNoCase(domain, host))
        return true;
    return host.size() > domain.size() && host[host.size() - domain.size() - 1] == '.'
        && EqualsNoCase(host.substr(host.size() - domain.size()), domain);
}

CurlEasy OpenSessionHandle(const TransferLimits& limits)
{
    CurlSharedSession& session = Session();
    CurlEasy handle(curl_easy_init());
    if (!handle)
        return handle;
    CURL* h = handle.get();
    if (session.share)
        curl_easy_setopt(h, CURLOPT_SHARE, session.share);
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    return handle;
}

FetchResult PerformToFile(CURL* handle, const std::filesystem::path& file, long long maxBodyBytes,
                          const TransferStop& stopRequested)
{
    FetchResult result;
    if (!handle)
        return result;
    CurlBodyFile body{file, {}, false, false, 0, maxBodyBytes, false};
    CurlResponseTracker tracker;
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, TrackResponseHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &tracker);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnTransferProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &stopRequested);
    const CURLcode code = curl_easy_perform(handle);
    // Nothing may point at the locals once this returns; a later perform on
    // the same handle then discards the body.
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, nullptr);

    result.complete = code == CURLE_OK;
    result.tooLarge = body.tooLarge || code == CURLE_FILESIZE_EXCEEDED;
    result.stopped = code == CURLE_ABORTED_BY_CALLBACK;
    result.bytes = body.received;
    curl_off_t elapsedUs = 0;
    if (curl_easy_getinfo(handle, CURLINFO_TOTAL_TIME_T, &elapsedUs) == CURLE_OK)
        result.elapsedMs = static_cast<long long>(elapsedUs / 1000);
    result.responded = body.opened || tracker.finalArrived || result.complete;
    if (result.responded)
        body.open();
    body.close();
    result.stored = result.responded && !body.failed;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.statusCode);
    return result;
}

std::string HostOfUrl(const std::string& url)
{
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return {};
    char* host = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK || !host)
        return {};
    std::string text(host);
    curl_free(host);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::string StoredCookiesForHost(std::string_view host, bool withHttpOnly)
{
    CurlEasy handle = OpenSessionHandle(TransferLimits{}); // no transfer: only the store
    curl_slist* raw = nullptr;
    if (!handle || curl_easy_getinfo(handle.get(), CURLINFO_COOKIELIST, &raw) != CURLE_OK)
        return {};
    const CurlSlist list(raw);
    const auto now = static_cast<long long>(std::time(nullptr));
    std::string cookies;
    for (const curl_slist* item = list.get(); item; item = item->next) {
        // domain, tailmatch, path, secure, expires, name, value
        const std::vector<std::string_view> fields = SplitTabs(item->data);
        if (fields.size() != 7)
            continue;
        std::string_view domain = fields[0];
        constexpr std::string_view kHttpOnlyMark = "#HttpOnly_";
        const bool httpOnly = domain.starts_with(kHttpOnlyMark);
        if (httpOnly)
            domain.remove_prefix(kHttpOnlyMark.size());
        long long expires = 0;
        std::from_chars(fields[4].data(), fields[4].data() + fields[4].size(), expires);
        if ((httpOnly && !withHttpOnly) || (expires != 0 && expires <= now)
            || !CookieMatches(domain, fields[1] == "TRUE", host))
            continue;
        if (!cookies.empty())
            cookies += "; ";
        cookies.append(fields[5]).append("=").append(fields[6]);
    }
    return cookies;
}

void ClearStoredCookies()
{
    if (CurlEasy handle = OpenSessionHandle(TransferLimits{}))
        curl_easy_setopt(handle.get(), CURLOPT_COOKIELIST, "ALL");
}

} // namespace kenmori
