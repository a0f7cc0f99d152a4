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

struct RecordedRequest {
    std::string method;
    std::string target;  // as sent, query included
    std::string path;    // decoded path without the query
    std::string version; // "HTTP/1.1"
    httplib::Headers headers;
    std::string body;

    std::vector<std::string> HeaderValues(const std::string& name) const
    {
        std::vector<std::string> values;
        const auto [first, last] = headers.equal_range(name);
        for (auto it = first; it != last; ++it)
            values.push_back(it->second);
        return values;
    }

    // The first value of the header, empty when absent.
    std::string Header(const std::string& name) const
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
            Record(request);
            if (const Handler handler = FindRoute(request.method, request.path))
                handler(request, response);
            else
                response.status = 404;
        };
        server_.Get(".*", dispatch);
        server_.Post(".*", dispatch);
        server_.Put(".*", dispatch);
        server_.Patch(".*", dispatch);
        server_.Delete(".*", dispatch);
        server_.Options(".*", dispatch);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0)
            return;
        thread_ = std::thread([this] {
            server_.listen_after_bind();
            listenEnded_ = true;
        });
        // stop() only works once the accept loop runs.
        while (!server_.is_running() && !listenEnded_)
            std::this_thread::yield();
    }

    ~LocalHttpServer()
    {
        server_.stop();
        if (thread_.joinable())
            thread_.join();
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int Port() const { return port_; }
    std::string BaseAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }

    // The first route whose method matches and whose pattern matches the whole
    // path answers; a request without one gets an empty 404.
    void On(const std::string& method, const std::string& pathPattern, Handler handler)
    {
        std::lock_guard lock(mutex_);
        routes_.push_back({method, std::regex(pathPattern), std::move(handler)});
    }
    void Get(const std::string& pathPattern, Handler handler) { On("GET", pathPattern, std::move(handler)); }
    void Post(const std::string& pathPattern, Handler handler) { On("POST", pathPattern, std::move(handler)); }

    std::vector<RecordedRequest> Requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

    void ClearRequests()
    {
        std::lock_guard lock(mutex_);
        requests_.clear();
    }

private:
    struct Route {
        std::string method;
        std::regex pattern;
        Handler handler;
    };

    void Record(const httplib::Request& request)
    {
        RecordedRequest recorded{request.method, request.target, request.path,
                                 request.version, request.headers, request.body};
        // Added by the server itself, never sent by the client.
        for (const char* name : {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR", "LOCAL_PORT"})
            recorded.headers.erase(name);
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(recorded));
    }

    Handler FindRoute(const std::string& method, const std::string& path) const
    {
        std::lock_guard lock(mutex_);
        for (const Route& route : routes_)
            if (route.method == method && std::regex_match(path, route.pattern))
                return route.handler;
        return {};
    }

    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
    std::atomic<bool> listenEnded_ = false;
    mutable std::mutex mutex_;
    std::vector<Route> routes_;
    std::vector<RecordedRequest> requests_;
};
