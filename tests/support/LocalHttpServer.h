#pragma once
// A cpp-httplib server on 127.0.0.1 and a free port, for tests. It runs on its
// own thread from construction to destruction, answers through routes that
// may be added at any time, and records every request it receives.

#include <httplib.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace kenmori {

struct RecordedRequest {
    std::string method;
    std::string target;  // as sent, query included
    std::string path;    // decoded path without the query
    std::string version; // "HTTP/1.1"
    httplib::Headers headers;
    std::string body;

    std::vector<std::string> headerValues(const std::string& name) const
    {
        std::vector<std::string> values;
        const auto [first, last] = headers.equal_range(name);
        for (auto it = first; it != last; ++it)
            values.push_back(it->second);
        return values;
    }

    // The first value of the header, empty when absent.
    std::string header(const std::string& name) const
    {
        const auto it = headers.find(name);
        return it == headers.end() ? std::string() : it->second;
    }
};

class LocalHttpServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    LocalHttpServer()
    {
        const auto dispatch = [this](const httplib::Request& request, httplib::Response& response) {
            record(request);
            if (const Handler handler = findRoute(request.method, request.path))
                handler(request, response);
            else
                response.status = 404;
        };
        m_server.Get(".*", dispatch);
        m_server.Post(".*", dispatch);
        m_server.Put(".*", dispatch);
        m_server.Patch(".*", dispatch);
        m_server.Delete(".*", dispatch);
        m_server.Options(".*", dispatch);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            return;
        m_thread = std::thread([this] {
            m_server.listen_after_bind();
            m_listenEnded = true;
        });
        // stop() only works once the accept loop runs.
        while (!m_server.is_running() && !m_listenEnded)
            std::this_thread::yield();
    }

    ~LocalHttpServer()
    {
        m_server.stop();
        if (m_thread.joinable())
            m_thread.join();
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int port() const { return m_port; }
    std::string baseAddress() const { return "http://127.0.0.1:" + std::to_string(m_port); }

    // The first route whose method matches and whose pattern matches the whole
    // path answers; a request without one gets an empty 404.
    void on(const std::string& method, const std::string& pathPattern, Handler handler)
    {
        std::lock_guard lock(m_mutex);
        m_routes.push_back({method, std::regex(pathPattern), std::move(handler)});
    }
    void get(const std::string& pathPattern, Handler handler) { on("GET", pathPattern, std::move(handler)); }
    void post(const std::string& pathPattern, Handler handler) { on("POST", pathPattern, std::move(handler)); }

    std::vector<RecordedRequest> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    void clearRequests()
    {
        std::lock_guard lock(m_mutex);
        m_requests.clear();
    }

private:
    struct Route {
        std::string method;
        std::regex pattern;
        Handler handler;
    };

    void record(const httplib::Request& request)
    {
        RecordedRequest recorded{request.method,  request.target,  request.path,
                                 request.version, request.headers, request.body};
        // Added by the server itself, never sent by the client.
        for (const char* name : {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR", "LOCAL_PORT"})
            recorded.headers.erase(name);
        std::lock_guard lock(m_mutex);
        m_requests.push_back(std::move(recorded));
    }

    Handler findRoute(const std::string& method, const std::string& path) const
    {
        std::lock_guard lock(m_mutex);
        for (const Route& route : m_routes)
            if (route.method == method && std::regex_match(path, route.pattern))
                return route.handler;
        return {};
    }

    httplib::Server m_server;
    int m_port = -1;
    std::thread m_thread;
    std::atomic<bool> m_listenEnded = false;
    mutable std::mutex m_mutex;
    std::vector<Route> m_routes;
    std::vector<RecordedRequest> m_requests;
};

} // namespace kenmori
