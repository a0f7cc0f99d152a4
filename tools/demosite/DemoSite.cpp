#include "DemoSite.h"

#include "DemoGenerator.h"
#include "DemoPages.h"
#include "DemoText.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace {

constexpr std::string_view kSessionCookie = "JSESSIONID";
constexpr size_t kMaxSessions = 1000;
constexpr std::string_view kPostingSheetPath =
    "/kensaku/GECA110020.do?&kyujinhyoBtn=%E6%B1%82%E4%BA%BA%E7%A5%A8%E3%82%92%E8%A1%A8%E7%A4%BA";

struct Session {
    bool searched = false;
    std::vector<int> hits; // posting indexes in list order
};

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

// A page number from the pager form; anything but a positive number is 1.
int PageNumberOf(const FormFields& fields)
{
    std::string text = FormValue(fields, "fwListNaviBtn1");
    if (text.empty())
        text = FormValue(fields, "fwListLeftPage");
    const long long value = DigitsValue(text);
    if (value < 1)
        return 1;
    return static_cast<int>(std::min<long long>(value, 1000000));
}

} // namespace

struct DemoSite::Server {
    explicit Server(const DemoSite& site) : site(site), ids(std::random_device{}()) {}

    const DemoSite& site;
    std::unique_ptr<httplib::Server> http;
    std::thread thread;
    std::atomic<bool> listenEnded = false;
    int port = 0;

    std::mutex mutex; // guards everything below
    std::map<std::string, Session> sessions;
    std::deque<std::string> sessionOrder; // oldest first
    std::set<int> failedOnce;             // postings whose first download was refused
    std::mt19937_64 ids;

    // The one place where requests are answered.
    void answer(const httplib::Request& request, httplib::Response& response);

    void answerSearchScreen(const httplib::Request& request, httplib::Response& response);
    void answerSearch(const httplib::Request& request, httplib::Response& response);
    void answerPager(const httplib::Request& request, httplib::Response& response);
    void answerDetail(const httplib::Request& request, httplib::Response& response);

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
    if (get && (path == "/" || path == "/kensaku/GECA110010.do")) {
        if (request.get_param_value("action") == "dispDetailBtn")
            answerDetail(request, response);
        else
            answerSearchScreen(request, response);
    } else if (post && path == "/kensaku/GECA110030.do") {
        answerSearch(request, response);
    } else if (post && path == "/kensaku/GECA110010.do") {
        answerPager(request, response);
    } else if ((get || post) && path == "/kensaku/GECA110020.do") {
        std::string number = request.get_param_value("kJNo");
        if (number.empty())
            number = FormValue(ParseFormBody(request.body), "kJNo");
        AnswerHtml(response, PostingSheetPage(site.findPosting(number)));
    } else {
        AnswerHtml(response, NotFoundPage(), 404);
    }
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
    const DemoQuery query = ParseSearchBody(request.body);
    const bool unknownSeeker = NamesUnknownJobSeeker(query, site.m_options.knownJobSeekerNumber);
    const std::vector<const DemoPosting*> hits =
        unknownSeeker ? std::vector<const DemoPosting*>() : site.matching(query);
    {
        std::lock_guard lock(mutex);
        Session& session = sessions[sessionFor(request, response)];
        session.searched = true;
        session.hits.clear();
        for (const DemoPosting* posting : hits)
            session.hits.push_back(posting->index);
    }
    if (unknownSeeker)
        AnswerHtml(response, ListMessagePage("msg_E", "入力された求職番号は存在しません。"));
    else if (hits.empty())
        AnswerHtml(response, ListMessagePage("msg_I", "条件に一致する求人はありませんでした。"));
    else
        AnswerHtml(response, ResultListPage(hits, 1));
}

void DemoSite::Server::answerPager(const httplib::Request& request, httplib::Response& response)
{
    std::vector<const DemoPosting*> hits;
    {
        std::lock_guard lock(mutex);
        const std::string id = knownSession(request);
        if (id.empty() || !sessions[id].searched) {
            AnswerHtml(response, ListMessagePage("msg_E", "セッションが切れました。再度検索してください。"));
            return;
        }
        for (const int index : sessions[id].hits)
            hits.push_back(&site.m_postings[static_cast<size_t>(index)]);
    }
    AnswerHtml(response, ResultListPage(hits, PageNumberOf(ParseFormBody(request.body))));
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
    : m_server(std::make_unique<Server>(*this)), m_options(std::move(options))
{
    const int count = std::clamp(m_options.postingCount, 0, DemoSiteOptions::kMaxPostings);
    m_postings.reserve(static_cast<size_t>(count));
    for (int index = 0; index < count; ++index) {
        m_postings.push_back(GeneratePosting(index).posting);
        m_byJobNumber.emplace(m_postings.back().jobNumber, m_postings.size() - 1);
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
    const auto it = m_byJobNumber.find(std::string(jobNumber));
    return it == m_byJobNumber.end() ? nullptr : &m_postings[it->second];
}

std::vector<const DemoPosting*> DemoSite::matching(const DemoQuery& query) const
{
    std::vector<const DemoPosting*> hits;
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
