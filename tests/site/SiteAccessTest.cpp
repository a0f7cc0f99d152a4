#include "site/SiteAccess.h"
#include "support/LocalHttpServer.h"
#include "support/TestEnvironment.h"

#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <thread>

using namespace kenmori;

static const std::vector<std::string> kExpectedAgents{
    "Mozilla/5.0 (Windows NT 6.2; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/52.0.2743.116 Safari/537.36 Edge/15.15063",
    "Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/52.0.2743.116 Safari/537.36 Edge/15.15063",
    "Mozilla/5.0 (Windows NT 6.3; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/51.0.2704.79 Safari/537.36 Edge/14.14393",
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/64.0.3282.140 Safari/537.36 Edge/17.17134",
    "Mozilla/5.0 (Windows NT 5.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/58.0.3029.110 Safari/537.36 Edge/16.16299",
};

static const std::string kSearchPath = "/kensaku/GECA110030.do";

static std::vector<std::string> SortedPairs(const std::string& cookies)
{
    std::vector<std::string> pairs;
    for (std::size_t start = 0; start < cookies.size();) {
        const std::size_t end = std::min(cookies.find("; ", start), cookies.size());
        pairs.push_back(cookies.substr(start, end - start));
        start = end + 2;
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

class SiteAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The requests below must reach the test's own server directly.
        ClearProxyEnvironment();
        ClearStoredCookies();
        site = SiteConfigFor(server.baseAddress());
        dir = std::filesystem::temp_directory_path()
            / ("kenmori_siteaccess_" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(dir);
    }

    void TearDown() override { std::filesystem::remove_all(dir); }

    LocalHttpServer server;
    SiteConfig site;
    std::filesystem::path dir;
};

TEST(AgentGeneratorTest, DrawsTheFixedSequence)
{
    AgentGenerator fresh;
    std::vector<int> draws;
    for (int i = 0; i < 10; ++i)
        draws.push_back(fresh.next(5));
    EXPECT_EQ(draws, (std::vector<int>{0, 0, 4, 1, 1, 3, 1, 0, 1, 2}));

    AgentGenerator copy = fresh;
    EXPECT_EQ(copy.next(1000), fresh.next(1000));
    EXPECT_EQ(copy.state, fresh.state);

    AgentGenerator edge;
    EXPECT_EQ(edge.next(0), 0);
    EXPECT_EQ(edge.next(-7), 0);
    EXPECT_EQ(edge.next(1), 0);

    ASSERT_EQ(kUserAgents.size(), kExpectedAgents.size());
    for (std::size_t i = 0; i < kExpectedAgents.size(); ++i)
        EXPECT_EQ(kUserAgents[i], kExpectedAgents[i]) << i;
}

TEST(SiteConfigTest, DefaultsToTheSiteDropsTrailingSlashesAndPausesElsewhere)
{
    EXPECT_EQ(SiteConfig().baseAddress, "https://www.hellowork.mhlw.go.jp");
    EXPECT_EQ(SiteConfigFor("").baseAddress, "https://www.hellowork.mhlw.go.jp");
    EXPECT_EQ(SiteConfigFor("http://127.0.0.1:8080//").baseAddress, "http://127.0.0.1:8080");

    // Shortened pauses hold only against this machine.
    const RunPacing none{std::chrono::milliseconds(0), std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                         std::chrono::milliseconds(0)};
    SiteConfig local = SiteConfigFor("http://127.0.0.1:8080");
    local.pacing = none;
    EXPECT_EQ(EffectivePacing(local).afterDetailPage, std::chrono::milliseconds(0));
    SiteConfig remote = SiteConfigFor("https://www.example.jp");
    remote.pacing = none;
    remote.pacing.afterSearch = std::chrono::milliseconds(5000);
    const RunPacing paced = EffectivePacing(remote);
    EXPECT_EQ(paced.afterWarmUp, RunPacing().afterWarmUp);
    EXPECT_EQ(paced.afterSearch, std::chrono::milliseconds(5000));
    EXPECT_EQ(paced.afterListPage, RunPacing().afterListPage);
    EXPECT_EQ(paced.afterDetailPage, RunPacing().afterDetailPage);

    // Every copy of a config draws from the same sequence of agents.
    const SiteConfig copy = local;
    AgentGenerator predicted = local.agents->peek();
    EXPECT_EQ(copy.agents->draw(), kUserAgents[static_cast<size_t>(predicted.next(5))]);
    EXPECT_EQ(local.agents->peek().state, predicted.state);
}

TEST_F(SiteAccessTest, SendsTheFixedHeaderBlocksAndRotatesAgents)
{
    server.get("/kensaku/GECA110020.do",
               [](const httplib::Request&, httplib::Response& res) { res.set_content("detail", "text/html"); });
    server.post(kSearchPath,
                [](const httplib::Request&, httplib::Response& res) { res.set_content("list", "text/html"); });
    const std::string detailUrl = server.baseAddress() + "/kensaku/GECA110020.do?screenId=GECA110020&kJNo=1";
    const std::string body = "kSNo=&kjKbnRadioBtn=1&freeWordInput=%E3%81%82+x&fwListNaiyo=a%26b&x=\xff";
    const auto file = dir / "page.dat";

    AgentGenerator predicted = site.agents->peek();
    HttpGetToFile(site, detailUrl, file);
    HttpPostToFile(site, body, file, kSearchPath, "");
    HttpGetToFile(site, detailUrl, file);
    HttpGetToFile(site, detailUrl, file);
    HttpPostToFile(site, body, file, kSearchPath, "");

    const std::vector<RecordedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 5u);
    for (const RecordedRequest& request : requests) {
        const std::string agent = kExpectedAgents[static_cast<std::size_t>(predicted.next(5))];
        httplib::Headers expected{
            {"Host", "127.0.0.1:" + std::to_string(server.port())},
            {"User-Agent", agent},
        };
        if (request.method == "GET") {
            EXPECT_EQ(request.target, "/kensaku/GECA110020.do?screenId=GECA110020&kJNo=1");
            EXPECT_EQ(request.version, "HTTP/1.1");
            EXPECT_EQ(request.body, "");
            expected.insert({
                {"Accept", "text/html, application/xhtml+xml, image/jxr, */*"},
                {"Accept-Language", "ja-JP"},
                {"Accept-Encoding", "none"},
                {"Connection", "Keep-Alive"},
                {"Content-Encoding", "none"},
            });
        } else {
            EXPECT_EQ(request.method, "POST");
            EXPECT_EQ(request.target, kSearchPath);
            EXPECT_EQ(request.version, "HTTP/1.0");
            EXPECT_EQ(request.body, body);
            expected.insert({
                {"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
                {"Accept-Language", "ja,en-US;q=0.9,en;q=0.8"},
                {"Accept-Encoding", "none"},
                {"Content-Type", "application/x-www-form-urlencoded"},
                {"Connection", "keep-alive"},
                {"Referer", server.baseAddress() + kSearchPath},
                {"Content-Length", std::to_string(body.size())},
            });
        }
        // Exactly these lines, each once: nothing added, replaced or doubled.
        EXPECT_EQ(request.headers, expected) << request.method;
    }
    EXPECT_EQ(ReadFileBytes(file), "list");
}

TEST_F(SiteAccessTest, PostGoesThroughTheSystemProxyAndGetGoesDirect)
{
    LocalHttpServer proxy;
    const auto file = dir / "page.dat";
    qputenv("http_proxy", QByteArray::fromStdString(proxy.baseAddress()));
    HttpPostToFile(site, "a=1", file, kSearchPath, "");
    HttpGetToFile(site, server.baseAddress() + "/detail", file);
    qunsetenv("http_proxy");

    const std::vector<RecordedRequest> viaProxy = proxy.requests();
    ASSERT_EQ(viaProxy.size(), 1u);
    EXPECT_EQ(viaProxy[0].method, "POST");
    EXPECT_EQ(viaProxy[0].target, server.baseAddress() + kSearchPath);
    EXPECT_EQ(viaProxy[0].body, "a=1");
    const std::vector<RecordedRequest> direct = server.requests();
    ASSERT_EQ(direct.size(), 1u);
    EXPECT_EQ(direct[0].method, "GET");
}

TEST_F(SiteAccessTest, RunCookieTravelsWithEveryLaterRequest)
{
    const auto file = dir / "page.dat";
    const std::string detailUrl = server.baseAddress() + "/detail";

    HttpPostToFile(site, "a=1", file, kSearchPath, "");
    HttpPostToFile(site, "a=1", file, kSearchPath, "JSESSIONID=abc; lang=ja");
    HttpGetToFile(site, detailUrl, file);
    HttpPostToFile(site, "a=1", file, kSearchPath, "");
    HttpPostToFile(site, "a=1", file, kSearchPath, "k = 2");
    HttpGetToFile(site, detailUrl, file);

    const std::vector<RecordedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 6u);
    // An empty cookie text sets nothing and clears nothing.
    EXPECT_TRUE(requests[0].headerValues("Cookie").empty());
    // libcurl reads the line as a Set-Cookie header: the value ends at the
    // first semicolon, the rest of the text counts as unknown attributes.
    const std::vector<std::string> first{"MyCookie=MyCookie = JSESSIONID=abc"};
    EXPECT_EQ(requests[1].headerValues("Cookie"), first);
    EXPECT_EQ(requests[2].headerValues("Cookie"), first);
    EXPECT_EQ(requests[3].headerValues("Cookie"), first);
    const std::vector<std::string> replaced{"MyCookie=MyCookie = k = 2"};
    EXPECT_EQ(requests[4].headerValues("Cookie"), replaced);
    EXPECT_EQ(requests[5].headerValues("Cookie"), replaced);
    EXPECT_EQ(StoredSiteCookies(site), "MyCookie=MyCookie = k = 2");
}

TEST_F(SiteAccessTest, RunCookieStaysWithTheSiteHost)
{
    // Named and numeric addresses of one server are different hosts to a cookie.
    const std::string named = "http://localhost:" + std::to_string(server.port());
    site.baseAddress = named;
    const auto file = dir / "page.dat";

    HttpPostToFile(site, "a=1", file, kSearchPath, "sid=9");
    HttpGetToFile(site, named + "/detail", file);
    HttpGetToFile(site, server.baseAddress() + "/detail", file);

    const std::vector<RecordedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::vector<std::string> cookie{"MyCookie=MyCookie = sid=9"};
    EXPECT_EQ(requests[0].headerValues("Cookie"), cookie);
    EXPECT_EQ(requests[1].headerValues("Cookie"), cookie);
    EXPECT_TRUE(requests[2].headerValues("Cookie").empty());
    EXPECT_EQ(StoredSiteCookies(site), "MyCookie=MyCookie = sid=9");
    EXPECT_EQ(StoredCookiesForHost("127.0.0.1", true), "");
    EXPECT_EQ(StoredCookiesForHost("sub.localhost", true), "MyCookie=MyCookie = sid=9");
    EXPECT_EQ(StoredCookiesForHost("otherlocalhost", true), "");
}

TEST_F(SiteAccessTest, CookiesSetByTheSiteTravelWithLaterRequests)
{
    server.get("/kensaku/GECA110010.do", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "JSESSIONID=s1; Path=/; HttpOnly");
        res.set_header("Set-Cookie", "visible=v1; Path=/");
        res.set_header("Set-Cookie", "gone=x; Path=/; Expires=Thu, 01-Jan-1970 00:00:01 GMT");
        res.set_content("search page", "text/html");
    });
    const auto file = dir / "page.dat";
    const std::string warmUp = server.baseAddress() + "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010";

    // The visit runs on another thread, as the warm-up does.
    std::thread visit([&] { HttpGetToFile(site, warmUp, dir / "warmup.dat"); });
    visit.join();
    EXPECT_EQ(StoredSiteCookies(site), "visible=v1");
    EXPECT_EQ(SortedPairs(StoredSiteCookies(site, true)),
              (std::vector<std::string>{"JSESSIONID=s1", "visible=v1"}));

    HttpPostToFile(site, "a=1", file, kSearchPath, StoredSiteCookies(site));
    HttpGetToFile(site, server.baseAddress() + "/detail", file);

    const std::vector<RecordedRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].headerValues("Cookie").empty());
    const std::vector<std::string> all{"JSESSIONID=s1; MyCookie=MyCookie = visible=v1; visible=v1"};
    EXPECT_EQ(requests[1].headerValues("Cookie"), all);
    EXPECT_EQ(requests[2].headerValues("Cookie"), all);
}

TEST_F(SiteAccessTest, CookieStoreHoldsUpUnderConcurrentRequests)
{
    server.get("/set/(\\d+)", [](const httplib::Request& req, httplib::Response& res) {
        res.set_header("Set-Cookie", "c" + req.matches[0].str().substr(5) + "=1; Path=/");
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 3; ++i)
                HttpGetToFile(site, server.baseAddress() + "/set/" + std::to_string(t * 3 + i),
                              dir / ("t" + std::to_string(t) + ".dat"));
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(SortedPairs(StoredSiteCookies(site)).size(), 12u);
    EXPECT_EQ(server.requests().size(), 12u);
}

TEST_F(SiteAccessTest, StoresEveryResponseBodyWhole)
{
    std::string exact3000;
    for (int i = 0; i < 3000; ++i)
        exact3000 += static_cast<char>('0' + i % 43);
    const std::string withNul = std::string("<html>before", 12) + '\0' + "after</html>" + std::string(1500, 'z');
    const auto route = [&](const std::string& path, int status, const std::string& body) {
        server.get(path, [status, body](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            res.set_content(body, "text/html");
        });
    };
    route("/missing", 404, "<html>404 Not Found</html>");
    route("/broken", 500, "<html>500 Internal Server Error</html>");
    route("/exact", 200, exact3000);
    route("/nul", 200, withNul);
    route("/empty", 200, "");
    server.get("/moved", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/exact");
        res.set_content("moved", "text/html");
    });
    server.post(kSearchPath, [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("post failed", "text/html");
    });
    const std::string base = server.baseAddress();
    const auto file = dir / "page.dat";

    WriteFileBytes(file, "an earlier, longer page");
    const FetchResult missing = HttpGetToFile(site, base + "/missing", file);
    EXPECT_EQ(ReadFileBytes(file), "<html>404 Not Found</html>");
    EXPECT_TRUE(missing.responded && missing.stored && missing.complete);
    EXPECT_EQ(missing.statusCode, 404);

    HttpGetToFile(site, base + "/broken", file);
    EXPECT_EQ(ReadFileBytes(file), "<html>500 Internal Server Error</html>");
    HttpGetToFile(site, base + "/exact", file);
    EXPECT_EQ(ReadFileBytes(file), exact3000);
    HttpGetToFile(site, base + "/nul", file);
    EXPECT_EQ(ReadFileBytes(file), withNul);
    HttpPostToFile(site, "a=1", file, kSearchPath, "");
    EXPECT_EQ(ReadFileBytes(file), "post failed");

    const FetchResult empty = HttpGetToFile(site, base + "/empty", file);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(ReadFileBytes(file), "");
    EXPECT_TRUE(empty.responded && empty.stored);

    const FetchResult moved = HttpGetToFile(site, base + "/moved", dir / "moved.dat");
    EXPECT_EQ(ReadFileBytes(dir / "moved.dat"), exact3000);
    EXPECT_EQ(moved.statusCode, 200);
}

TEST_F(SiteAccessTest, LeavesTheFileAloneWhenNoResponseArrives)
{
    int closedPort = 0;
    {
        LocalHttpServer closed;
        closedPort = closed.port();
    }
    const std::string dead = "http://127.0.0.1:" + std::to_string(closedPort);
    const auto file = dir / "page.dat";
    const std::string earlier = std::string("earlier\0page\r\n\xff", 15);
    WriteFileBytes(file, earlier);

    const FetchResult get = HttpGetToFile(site, dead + "/detail", file);
    EXPECT_EQ(ReadFileBytes(file), earlier);
    EXPECT_FALSE(get.responded);
    EXPECT_EQ(get.statusCode, 0);

    // A redirect is no answer of its own when its target cannot be reached.
    server.get("/away", [dead](const httplib::Request&, httplib::Response& res) {
        res.set_redirect(dead + "/detail");
        res.set_content("moved", "text/html");
    });
    EXPECT_FALSE(HttpGetToFile(site, server.baseAddress() + "/away", file).responded);
    EXPECT_EQ(ReadFileBytes(file), earlier);

    site.baseAddress = dead;
    const FetchResult post = HttpPostToFile(site, "a=1", file, kSearchPath, "c=1");
    EXPECT_EQ(ReadFileBytes(file), earlier);
    EXPECT_FALSE(post.responded || post.stored || post.complete);

    const auto absent = dir / "absent.dat";
    for (const std::string& url : {dead + "/x", std::string("not a url"), std::string(""),
                                   std::string("file:///etc/hostname"), std::string("http://[::1")})
        HttpGetToFile(site, url, absent);
    site.baseAddress = "::bad base::";
    HttpPostToFile(site, "a=1", absent, kSearchPath, "c=1");
    EXPECT_FALSE(std::filesystem::exists(absent));
}

TEST_F(SiteAccessTest, ReadsTheBodyEvenWhenTheFileCannotBeCreated)
{
    server.get("/detail", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(5000, 'x'), "text/html");
    });
    const auto file = dir / "no such folder" / "page.dat";
    const FetchResult result = HttpGetToFile(site, server.baseAddress() + "/detail", file);
    EXPECT_TRUE(result.responded);
    EXPECT_TRUE(result.complete);
    EXPECT_FALSE(result.stored);
    EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
}

TEST_F(SiteAccessTest, StalledTransferEndsAndKeepsTheBytesReceived)
{
    // libcurl averages the speed over several seconds, so a high floor keeps
    // the test short: ten bytes and then silence stay far below it.
    site.limits = TransferLimits{2000, 1000, 1};
    // Shared, since the server thread may still hold it when the test ends.
    struct Gate {
        std::mutex mutex;
        std::condition_variable released;
        bool open = false;
    };
    const auto gate = std::make_shared<Gate>();
    server.get("/stall", [gate](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(
            100, "text/html", [gate](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (offset == 0)
                    return sink.write("0123456789", 10);
                std::unique_lock lock(gate->mutex);
                gate->released.wait_for(lock, std::chrono::seconds(10), [&] { return gate->open; });
                return false;
            });
    });
    const auto file = dir / "page.dat";

    const FetchResult result = HttpGetToFile(site, server.baseAddress() + "/stall", file);
    {
        std::lock_guard lock(gate->mutex);
        gate->open = true;
    }
    gate->released.notify_all();

    EXPECT_EQ(ReadFileBytes(file), "0123456789");
    EXPECT_TRUE(result.responded);
    EXPECT_FALSE(result.complete);
}

// A byte every 20 ms for at most five seconds, and a chunked body of 1 MB.
static void AddSlowAndLargeRoutes(LocalHttpServer& server)
{
    server.get("/trickle", [](const httplib::Request&, httplib::Response& res) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        res.set_content_provider(100000, "text/html", [end](std::size_t, std::size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return std::chrono::steady_clock::now() < end && sink.is_writable() && sink.write("x", 1);
        });
    });
    server.get("/large", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [](std::size_t offset, httplib::DataSink& sink) {
            if (offset >= 1000000) {
                sink.done();
                return true;
            }
            const std::string chunk(10000, 'y');
            return sink.write(chunk.data(), chunk.size());
        });
    });
}

TEST_F(SiteAccessTest, TransfersEndAtTheTimeAndSizeLimitsAndOnAStop)
{
    AddSlowAndLargeRoutes(server);
    const auto file = dir / "page.dat";
    // The floor of 1 byte a second lets the trickle pass; only the overall
    // limit ends it.
    site.limits = TransferLimits{2000, 1, 60, 300, 100000};
    FetchResult result = HttpGetToFile(site, server.baseAddress() + "/trickle", file);
    EXPECT_TRUE(result.responded);
    EXPECT_FALSE(result.complete);
    EXPECT_FALSE(result.usable());

    result = HttpGetToFile(site, server.baseAddress() + "/large", file);
    EXPECT_TRUE(result.tooLarge);
    EXPECT_FALSE(result.usable());
    EXPECT_LE(std::filesystem::file_size(file), 100000u);

    // Without a time limit, a stop request ends the trickle.
    site.limits = TransferLimits{2000, 1, 60, 0, 100000};
    std::atomic<bool> stop = false;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    const auto started = std::chrono::steady_clock::now();
    result = HttpGetToFile(site, server.baseAddress() + "/trickle", file, [&] { return stop.load(); });
    stopper.join();
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.usable());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
}

TEST_F(SiteAccessTest, RunCookieExpiresOneYearAfterItIsSet)
{
    const auto date = [](int year, unsigned month, unsigned day) {
        return std::chrono::sys_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day));
    };
    EXPECT_EQ(RunCookieData("a=1; b=2", date(2030, 6, 1)),
              "MyCookie = a=1; b=2; expires = Sun, 01-Jun-2031 00:00:00 GMT; Path = /");
    EXPECT_EQ(RunCookieData("", date(2027, 1, 1) + std::chrono::hours(13) + std::chrono::minutes(5)),
              "MyCookie = ; expires = Sat, 01-Jan-2028 13:05:00 GMT; Path = /");

    server.post(kSearchPath,
                [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/html"); });
    const auto file = dir / "page.dat";
    // Set in 2030, the cookie still travels: its expiry lies a year ahead.
    site.clock = [&] { return std::chrono::system_clock::time_point(date(2030, 6, 1)); };
    HttpPostToFile(site, "a=1", file, kSearchPath, "sid=1");
    HttpPostToFile(site, "a=1", file, kSearchPath, "");
    // Dated in 2000, it has long expired: libcurl drops it.
    ClearStoredCookies();
    site.clock = [&] { return std::chrono::system_clock::time_point(date(2000, 1, 1)); };
    HttpPostToFile(site, "a=1", file, kSearchPath, "sid=2");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].headerValues("Cookie"), std::vector<std::string>{"MyCookie=MyCookie = sid=1"});
    EXPECT_EQ(requests[1].headerValues("Cookie"), std::vector<std::string>{"MyCookie=MyCookie = sid=1"});
    EXPECT_TRUE(requests[2].headerValues("Cookie").empty());
}

TEST(SiteAccessAddressTest, OnlyThisMachineIsLoopback)
{
    for (const char* address : {"http://127.0.0.1:8080", "http://127.1.2.3", "http://localhost:99",
                                "http://LOCALHOST", "http://[::1]:8080"})
        EXPECT_TRUE(IsLoopbackAddress(address)) << address;
    for (const char* address : {"https://www.hellowork.mhlw.go.jp", "http://128.0.0.1", "http://127.0.0.1.example",
                                "http://localhost.example", "http://[::2]", "not an address", ""})
        EXPECT_FALSE(IsLoopbackAddress(address)) << address;
}
