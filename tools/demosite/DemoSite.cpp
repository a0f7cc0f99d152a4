#include "DemoSite.h"

#include "DemoConnection.h"
#include "DemoGenerator.h"
#include "DemoPages.h"
#include "DemoText.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace kenmori {

namespace {

constexpr std::string_view kSessionCookie = "JSESSIONID";
constexpr size_t kMaxSessions = 1000;
constexpr std::string_view kPostingSheetPath =
    "/kensaku/GECA110020.do?&kyujinhyoBtn=%E6%B1%82%E4%BA%BA%E7%A5%A8%E3%82%92%E8%A1%A8%E7%A4%BA";

struct Session {
    bool searched = false;
    std::vector<int> hits;                 // posting indexes in list order
    std::vector<DemoFormField> conditions; // the search's fields, shown again on its result pages
    std::string token;                     // maba_vrbs of its result pages
};

// The fields of a search post that its result pages carry again as controls
// of their own form (the form has its own screen, token and flags).
std::vector<DemoFormField> ConditionFields(const FormFields& fields)
{
    std::vector<DemoFormField> conditions;
    for (const auto& [name, value] : fields) {
        if (name != "searchBtn" && name != "screenId" && name != "maba_vrbs" && name != "preCheckFlg")
            conditions.push_back({name, value});
    }
    return conditions;
}

// A post that a button of a result page's pager sent.
bool IsPagerPost(const FormFields& fields)
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const auto& field) { return field.first.starts_with("fwListNaviBtn"); });
}

void AnswerHtml(httplib::Response& response, const std::string& html, int status = 200)
{
    response.status = status;
    response.set_content(html, "text/html; charset=UTF-8");
}

// Every JSESSIONID value the request's cookies carry, in order. The product
// may wrap the cookie text of the search page into a cookie of its own, so
// the name is looked for anywhere in the header.
std::vector<std::string> SessionIdsOf(const httplib::Request& request)
{
    std::vector<std::string> ids;
    const auto [first, last] = request.headers.equal_range("Cookie");
    for (auto it = first; it != last; ++it) {
        const std::string& text = it->second;
        const std::string marker = std::string(kSessionCookie) + "=";
        for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
            const size_t start = at + marker.size();
            const size_t end = text.find_first_of("; ,\t", start);
            ids.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        }
    }
    return ids;
}

std::string DetailFaultKey(std::string_view jobNumber)
{
    return "detail " + std::string(jobNumber);
}

std::string ListFaultKey(int page)
{
    return "list " + std::to_string(page);
}

} // namespace

// A pager post as the site reads it, with what it needs to answer: the
// session's list as it stood when the post was read.
struct PagerPost {
    int page = 0; // 0: no session that has searched; -1: not what a page's form sends
    std::vector<const DemoPosting*> hits;
    DemoListView view;
};

struct DemoSite::Server {
    explicit Server(DemoSite& site)
        : site(site)
        , ids(std::random_device{}())
    {
    }

    DemoSite& site;
    std::unique_ptr<httplib::Server> http;
    std::thread thread;
    std::atomic<bool> listenEnded = false;
    std::atomic<bool> stopping = false; // ends stalled answers
    std::atomic<int> searches = 0;      // search posts so far, since the site was made
    int port = 0;

    std::mutex mutex; // guards everything below
    std::map<std::string, Session> sessions;
    std::deque<std::string> sessionOrder; // oldest first
    std::set<int> failedOnce;             // postings whose first download was refused
    std::map<std::string, int> attempts;  // requests so far by fault key
    std::mt19937_64 ids;

    // The one place where requests are answered.
    void answer(const httplib::Request& request, httplib::Response& response);

    void answerSearchScreen(const httplib::Request& request, httplib::Response& response);
    void answerSearch(const httplib::Request& request, httplib::Response& response);
    // The page a pager post asks for: 0 when the session is unknown or has
    // not searched, -1 when the post is not the page's form as a browser
    // submits it.
    PagerPost readPagerPost(const httplib::Request& request, const FormFields& fields);
    // How the session's result pages are shown. Callers hold the mutex.
    DemoListView listView(const Session& session) const;
    void answerDetail(const httplib::Request& request, httplib::Response& response);

    // Counts the request and tells whether the fault strikes it.
    bool countAndStrike(int target, const std::string& key);
    // Turns the answer made into the chosen fault's.
    void spoil(const httplib::Request& request, httplib::Response& response);
    // Announces the whole body, sends part of it, then resets, closes or
    // falls silent.
    void answerBroken(const httplib::Request& request, httplib::Response& response);
    // Announces the whole body and sends it a byte at a time.
    void answerTrickling(httplib::Response& response);

    // The request's session, or empty. Callers hold the mutex.
    std::string knownSession(const httplib::Request& request) const;
    // The request's session, or a new one announced by a cookie.
    std::string sessionFor(const httplib::Request& request, httplib::Response& response);
};

void DemoSite::Server::answer(const httplib::Request& request, httplib::Response& response)
{
    if (site.m_options.requestLog)
        site.m_options.requestLog(request.method + " " + request.target);
    const std::string& path = request.path;
    const bool get = request.method == "GET";
    const bool post = request.method == "POST";
    bool struck = false;
    if (get && (path == "/" || path == "/kensaku/GECA110010.do")) {
        if (request.get_param_value("action") == "dispDetailBtn") {
            struck = countAndStrike(kDemoFaultDetail, DetailFaultKey(request.get_param_value("kJNo")));
            answerDetail(request, response);
        } else {
            answerSearchScreen(request, response);
        }
    } else if (const FormFields fields = ParseFormBody(request.body);
               post && path == "/kensaku/GECA110030.do" && IsPagerPost(fields)) {
        const PagerPost pager = readPagerPost(request, fields);
        if (pager.page == 0) {
            AnswerHtml(response, ListMessagePage("msg_E", "セッションが切れました。再度検索してください。"));
        } else if (pager.page < 0) {
            AnswerHtml(response, SearchPage()); // not what the page's own form sends
        } else {
            struck = countAndStrike(kDemoFaultPager, ListFaultKey(pager.page));
            const bool repeat = struck && site.m_options.fault == DemoFault::RepeatedListPage;
            AnswerHtml(response,
                       ResultListPage(pager.hits, repeat ? std::max(1, pager.page - 1) : pager.page, pager.view));
        }
    } else if (post && path == "/kensaku/GECA110030.do") {
        if (site.m_options.searchBodyLog)
            site.m_options.searchBodyLog(request.body);
        struck = countAndStrike(kDemoFaultSearch, ListFaultKey(1));
        answerSearch(request, response);
    } else if (post && path == "/kensaku/GECA110010.do") {
        // The site's pages never ask for a list this way (any more).
        AnswerHtml(response, SearchPage());
    } else if ((get || post) && path == "/kensaku/GECA110020.do") {
        std::string number = request.get_param_value("kJNo");
        if (number.empty())
            number = FormValue(ParseFormBody(request.body), "kJNo");
        AnswerHtml(response, PostingSheetPage(site.findPosting(number)));
    } else {
        AnswerHtml(response, NotFoundPage(), 404);
    }
    if (site.m_options.layout == DemoLayout::Spread)
        response.body = SpreadLayout(response.body);
    if (struck)
        spoil(request, response);
}

bool DemoSite::Server::countAndStrike(int target, const std::string& key)
{
    if (site.m_options.fault == DemoFault::None)
        return false;
    int attempt = 0;
    {
        std::lock_guard lock(mutex);
        attempt = ++attempts[key];
    }
    return site.faultStrikes(target, key, attempt);
}

void DemoSite::Server::spoil(const httplib::Request& request, httplib::Response& response)
{
    switch (site.m_options.fault) {
    case DemoFault::ServerError: AnswerHtml(response, ServerErrorPage(), 500); break;
    case DemoFault::ConnectionReset:
    case DemoFault::CutShort:
    case DemoFault::Stall: answerBroken(request, response); break;
    case DemoFault::InvalidUtf8: response.body = WithInvalidUtf8(std::move(response.body)); break;
    case DemoFault::HugePage: response.body = PaddedPage(std::move(response.body), kDemoHugePageBytes); break;
    case DemoFault::GiantPage: response.body = PaddedPage(std::move(response.body), kDemoGiantPageBytes); break;
    case DemoFault::Trickle: answerTrickling(response); break;
    case DemoFault::NoList: AnswerHtml(response, SearchPage()); break;
    case DemoFault::None:
    case DemoFault::RepeatedListPage: // already answered with the earlier page
        break;
    }
}

void DemoSite::Server::answerBroken(const httplib::Request& request, httplib::Response& response)
{
    const auto body = std::make_shared<const std::string>(std::move(response.body));
    response.body.clear();
    if (body->empty())
        return;
    const long wanted = site.m_options.faultKeptBytes;
    const size_t kept = std::min(wanted < 0 ? body->size() / 2 : static_cast<size_t>(wanted), body->size() - 1);
    const std::string type = response.get_header_value("Content-Type");
    response.headers.erase("Content-Type");
    const DemoFault fault = site.m_options.fault;
    const int localPort = request.local_port > 0 ? request.local_port : port;
    const int remotePort = request.remote_port;
    const std::chrono::milliseconds stallLimit(std::max(0, site.m_options.stallLimitMs));
    response.set_content_provider(body->size(), type,
                                  [this, body, kept, fault, localPort, remotePort,
                                   stallLimit](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset < kept)
                                          return sink.write(body->data() + offset, kept - offset);
                                      // Returning false makes the server drop the connection (a clean
                                      // close) with the rest of the body unsent.
                                      if (fault == DemoFault::ConnectionReset) {
                                          const int socket = FindConnectionSocket(localPort, remotePort);
                                          if (socket >= 0) {
                                              // Lets the client read what was sent before the reset.
                                              std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                              ResetConnection(socket);
                                          }
                                      } else if (fault == DemoFault::Stall) {
                                          WaitForClientToLeave(FindConnectionSocket(localPort, remotePort),
                                                               stallLimit, stopping);
                                      }
                                      return false;
                                  });
}

void DemoSite::Server::answerTrickling(httplib::Response& response)
{
    const auto body = std::make_shared<const std::string>(std::move(response.body));
    response.body.clear();
    if (body->empty())
        return;
    const std::string type = response.get_header_value("Content-Type");
    response.headers.erase("Content-Type");
    const auto interval = std::chrono::milliseconds(std::max(1, site.m_options.trickleIntervalMs));
    const auto end = std::chrono::steady_clock::now()
        + std::chrono::milliseconds(std::max(0, site.m_options.stallLimitMs));
    response.set_content_provider(
        body->size(), type, [this, body, interval, end](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset > 0) {
                // Short slices, so that the server can stop in between.
                for (auto wake = std::chrono::steady_clock::now() + interval;
                     !stopping && std::chrono::steady_clock::now() < wake;)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (stopping || std::chrono::steady_clock::now() >= end || !sink.is_writable())
                return false;
            return sink.write(body->data() + offset, 1);
        });
}

std::string DemoSite::Server::knownSession(const httplib::Request& request) const
{
    for (const std::string& id : SessionIdsOf(request)) {
        if (sessions.count(id))
            return id;
    }
    return {};
}

std::string DemoSite::Server::sessionFor(const httplib::Request& request, httplib::Response& response)
{
    std::string id = knownSession(request);
    if (!id.empty())
        return id;
    do {
        char text[40];
        std::snprintf(text, sizeof text, "%016llX%016llX", static_cast<unsigned long long>(ids()),
                      static_cast<unsigned long long>(ids()));
        id = text;
    } while (sessions.count(id));
    sessions[id] = Session{};
    sessionOrder.push_back(id);
    while (sessionOrder.size() > kMaxSessions) {
        sessions.erase(sessionOrder.front());
        sessionOrder.pop_front();
    }
    response.set_header("Set-Cookie", std::string(kSessionCookie) + "=" + id + "; Path=/");
    return id;
}

void DemoSite::Server::answerSearchScreen(const httplib::Request& request, httplib::Response& response)
{
    {
        std::lock_guard lock(mutex);
        sessionFor(request, response);
    }
    AnswerHtml(response, SearchPage());
}

void DemoSite::Server::answerSearch(const httplib::Request& request, httplib::Response& response)
{
    // The site gains postings between one search and the next, so the first
    // search finds the site as it was made.
    if (searches.fetch_add(1) > 0 && site.m_options.addPerSearch > 0)
        site.addPostings(site.m_options.addPerSearch);
    const DemoQuery query = ParseSearchBody(request.body);
    const bool unknownSeeker = NamesUnknownJobSeeker(query, site.m_options.knownJobSeekerNumber);
    const std::vector<const DemoPosting*> hits = unknownSeeker ? std::vector<const DemoPosting*>()
                                                               : site.matching(query);
    DemoListView view;
    {
        std::lock_guard lock(mutex);
        Session& session = sessions[sessionFor(request, response)];
        session.searched = true;
        session.hits.clear();
        for (const DemoPosting* posting : hits)
            session.hits.push_back(posting->index);
        session.conditions = ConditionFields(ParseFormBody(request.body));
        char token[24];
        std::snprintf(token, sizeof token, "%016llX", static_cast<unsigned long long>(ids()));
        session.token = token;
        view = listView(session);
    }
    if (unknownSeeker)
        AnswerHtml(response, ListMessagePage("msg_E", "入力された求職番号は存在しません。"));
    else if (hits.empty())
        AnswerHtml(response, ListMessagePage("msg_I", "条件に一致する求人はありませんでした。"));
    else
        AnswerHtml(response, ResultListPage(hits, 1, view));
}

DemoListView DemoSite::Server::listView(const Session& session) const
{
    DemoListView view;
    view.pageSize = std::max(1, site.m_options.pageSize);
    view.linkPrefix = site.m_options.relativeLinks ? "./" : site.baseAddress() + "/kensaku/";
    view.conditions = session.conditions;
    view.token = session.token;
    return view;
}

PagerPost DemoSite::Server::readPagerPost(const httplib::Request& request, const FormFields& fields)
{
    PagerPost post;
    std::lock_guard lock(mutex);
    const std::string id = knownSession(request);
    if (id.empty() || !sessions.at(id).searched)
        return post;
    const Session& session = sessions.at(id);
    {
        std::lock_guard postingsLock(site.m_postingsMutex);
        for (const int index : session.hits)
            post.hits.push_back(&site.m_postings[static_cast<size_t>(index)]);
    }
    post.view = listView(session);
    post.page = -1;
    // One button pressed, as a browser sends the form.
    const auto pressed = std::count_if(fields.begin(), fields.end(),
                                       [](const auto& field) { return field.first.starts_with("fwListNaviBtn"); });
    if (pressed != 1)
        return post;
    // The page the form was on, whose form must have sent every field it has.
    const int pages = std::max(1,
                               static_cast<int>((post.hits.size() + static_cast<size_t>(post.view.pageSize) - 1)
                                                / static_cast<size_t>(post.view.pageSize)));
    const long long now = DigitsValue(FormValue(fields, "fwListNowPage"));
    if (now < 1 || now > pages)
        return post;
    std::multiset<std::pair<std::string, std::string>> sent(fields.begin(), fields.end());
    for (const DemoFormField& field : ResultListFormFields(post.hits, static_cast<int>(now), post.view)) {
        const auto found = sent.find({field.name, field.value});
        if (found == sent.end())
            return post;
        sent.erase(found);
    }
    long long page = -1;
    if (FormValue(fields, "fwListNaviBtnNext") == "次へ＞")
        page = now + 1;
    else if (FormValue(fields, "fwListNaviBtnPrev") == "＜前へ")
        page = now - 1;
    for (int button = 1; button <= 4; ++button) {
        const std::string value = FormValue(fields, "fwListNaviBtn" + std::to_string(button));
        if (!value.empty())
            page = DigitsValue(value);
    }
    if (page >= 1 && page <= pages)
        post.page = static_cast<int>(page);
    return post;
}

void DemoSite::Server::answerDetail(const httplib::Request& request, httplib::Response& response)
{
    const DemoPosting* posting = site.findPosting(request.get_param_value("kJNo"));
    if (!posting) {
        AnswerHtml(response, DeletedPostingPage());
        return;
    }
    if (posting->failsFirstDownload) {
        std::lock_guard lock(mutex);
        if (failedOnce.insert(posting->index).second) {
            AnswerHtml(response, BusyPage());
            return;
        }
    }
    AnswerHtml(response, GeneratePosting(posting->index).detailPage);
}

DemoSite::DemoSite(DemoSiteOptions options)
    : m_server(std::make_unique<Server>(*this))
    , m_options(std::move(options))
{
    addPostings(m_options.postingCount);
}

void DemoSite::addPostings(int count)
{
    std::lock_guard growing(m_growing);
    // Nobody else changes the postings while this one holds m_growing, so
    // they can be made without keeping the server's readers waiting.
    const int first = static_cast<int>(m_postings.size());
    const int end = first + std::clamp(count, 0, DemoSiteOptions::kMaxPostings - first);
    std::vector<DemoPosting> made;
    made.reserve(static_cast<size_t>(end - first));
    for (int index = first; index < end; ++index)
        made.push_back(GeneratePosting(index).posting);
    std::lock_guard lock(m_postingsMutex);
    for (DemoPosting& posting : made) {
        m_byJobNumber.emplace(posting.jobNumber, m_postings.size());
        m_postings.push_back(std::move(posting));
    }
}

DemoSite::~DemoSite()
{
    stop();
}

bool DemoSite::start(int port)
{
    Server& server = *m_server;
    if (server.http || port < 0 || port > 65535)
        return false;
    auto http = std::make_unique<httplib::Server>();
    const auto handler = [&server](const httplib::Request& request, httplib::Response& response) {
        server.answer(request, response);
    };
    http->Get(".*", handler);
    http->Post(".*", handler);
    const int bound = port == 0 ? http->bind_to_any_port("127.0.0.1")
                                : (http->bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0)
        return false;
    server.http = std::move(http);
    server.port = bound;
    server.listenEnded = false;
    server.stopping = false;
    server.thread = std::thread([&server] {
        server.http->listen_after_bind();
        server.listenEnded = true;
    });
    // stop() only takes effect once the accept loop runs.
    while (!server.http->is_running() && !server.listenEnded)
        std::this_thread::yield();
    return true;
}

void DemoSite::stop()
{
    Server& server = *m_server;
    if (!server.http)
        return;
    server.stopping = true;
    server.http->stop();
    if (server.thread.joinable())
        server.thread.join();
    server.http.reset();
    server.port = 0;
}

bool DemoSite::running() const
{
    return m_server->http && !m_server->listenEnded;
}

int DemoSite::port() const
{
    return m_server->port;
}

std::string DemoSite::baseAddress() const
{
    return "http://127.0.0.1:" + std::to_string(port());
}

const DemoPosting* DemoSite::findPosting(std::string_view jobNumber) const
{
    std::lock_guard lock(m_postingsMutex);
    const auto it = m_byJobNumber.find(std::string(jobNumber));
    return it == m_byJobNumber.end() ? nullptr : &m_postings[it->second];
}

std::vector<const DemoPosting*> DemoSite::matching(const DemoQuery& query) const
{
    std::vector<const DemoPosting*> hits;
    std::lock_guard lock(m_postingsMutex);
    for (const DemoPosting& posting : m_postings) {
        if (PostingMatches(posting, query))
            hits.push_back(&posting);
    }
    return hits;
}

std::string DemoSite::detailUrl(const DemoPosting& posting) const
{
    return baseAddress() + posting.detailPath;
}

DemoFields DemoSite::expectedFields(const DemoPosting& posting) const
{
    DemoFields fields = posting.fields;
    if (!posting.postingSheetQuery.empty())
        fields[kSlotPostingSheetUrl] = baseAddress() + std::string(kPostingSheetPath) + posting.postingSheetQuery;
    fields[kSlotPageUrl] = detailUrl(posting);
    return fields;
}

bool DemoSite::faultStrikes(int target, const std::string& key, int attempt) const
{
    const DemoFault fault = m_options.fault;
    if (fault == DemoFault::None || !(m_options.faultTargets & target))
        return false;
    // The search has no earlier page to repeat.
    if (m_options.faultAttempts > 0 && attempt > m_options.faultAttempts)
        return false;
    if (fault == DemoFault::RepeatedListPage && target != kDemoFaultPager)
        return false;
    return DemoFaultStrikes(m_options.faultSeed, m_options.faultShare, key, attempt);
}

bool DemoSite::faultStrikesDetail(const DemoPosting& posting, int attempt) const
{
    return faultStrikes(kDemoFaultDetail, DetailFaultKey(posting.jobNumber), attempt);
}

bool DemoSite::faultStrikesListPage(int page, int attempt) const
{
    return faultStrikes(page <= 1 ? kDemoFaultSearch : kDemoFaultPager, ListFaultKey(page), attempt);
}

} // namespace kenmori
