// The warm-up visit to the search page: its cookie, its fixed agent, where it
// ended, and a site that is slow or not there.

#include "site/SiteAccess.h"
#include "site/WarmUp.h"
#include "support/LocalHttpServer.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QtGlobal>

#include <chrono>
#include <condition_variable>

static const std::string kSearchPagePath = "/kensaku/GECA110010.do";

class WarmUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProxyEnvironment();
        ClearStoredCookies();
        SetSiteBaseAddress(server.baseAddress());
    }

    void TearDown() override
    {
        {
            std::lock_guard lock(mutex);
            released = true;
        }
        wake.notify_all();
    }

    // A handler that answers only when the test ends.
    void holdSearchPage()
    {
        server.get(kSearchPagePath, [this](const httplib::Request&, httplib::Response& response) {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return released; });
            response.set_content("late", "text/html");
        });
    }

    std::mutex mutex;
    std::condition_variable wake;
    bool released = false;
    LocalHttpServer server;
};

TEST_F(WarmUpTest, VisitGivesTheSitesCookieWithAFixedAgent)
{
    server.get(kSearchPagePath, [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "JSESSIONID=abc123; Path=/");
        response.headers.emplace("Set-Cookie", "hidden=1; Path=/; HttpOnly");
        response.set_content("<html>search</html>", "text/html; charset=UTF-8");
    });
    const AgentGenerator before = ProcessAgentGenerator();
    const WarmUpResult result = FetchSearchPage(std::chrono::milliseconds(5000));

    EXPECT_TRUE(result.pageArrived);
    EXPECT_EQ(result.finalAddress, SearchPageAddress());
    EXPECT_TRUE(IsSiteAddress(result.finalAddress));
    // A page script never sees an HttpOnly cookie.
    EXPECT_EQ(result.cookie, "JSESSIONID=abc123");
    EXPECT_EQ(ProcessAgentGenerator().state, before.state);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010");
    EXPECT_EQ(requests[0].header("User-Agent"), kWarmUpUserAgent);
    EXPECT_EQ(requests[0].header("Accept-Language"), "ja-JP");

    // The cookie now travels with the run's requests.
    HttpPostToFile("", std::filesystem::temp_directory_path() / "kenmori_warmup_unused.dat",
                   "/kensaku/GECA110030.do", result.cookie);
    std::filesystem::remove(std::filesystem::temp_directory_path() / "kenmori_warmup_unused.dat");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_NE(server.requests()[1].header("Cookie").find("JSESSIONID=abc123"), std::string::npos);
}

TEST_F(WarmUpTest, RedirectsAreFollowedAndAnErrorPageStillArrives)
{
    server.get(kSearchPagePath, [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/kensaku/moved.html");
    });
    server.get("/kensaku/moved.html", [](const httplib::Request&, httplib::Response& response) {
        response.status = 503;
        response.set_content("busy", "text/html");
    });
    const WarmUpResult result = FetchSearchPage(std::chrono::milliseconds(5000));
    EXPECT_TRUE(result.pageArrived);
    EXPECT_EQ(result.finalAddress, server.baseAddress() + "/kensaku/moved.html");
    EXPECT_TRUE(result.cookie.empty());
}

TEST_F(WarmUpTest, NoPageArrivesFromAMissingSlowOrAbandonedSite)
{
    {
        LocalHttpServer gone;
        SetSiteBaseAddress(gone.baseAddress());
    }
    WarmUpResult result = FetchSearchPage(std::chrono::milliseconds(5000));
    EXPECT_FALSE(result.pageArrived);
    EXPECT_TRUE(result.finalAddress.empty());

    SetSiteBaseAddress(server.baseAddress());
    holdSearchPage();
    const auto start = std::chrono::steady_clock::now();
    result = FetchSearchPage(std::chrono::milliseconds(200));
    EXPECT_FALSE(result.pageArrived);
    result = FetchSearchPage(std::chrono::seconds(60), [] { return true; });
    EXPECT_FALSE(result.pageArrived);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(WarmUpSiteTest, OnlyTheSitesHostPassesTheSiteTest)
{
    SetSiteBaseAddress("https://www.Example.jp");
    EXPECT_TRUE(IsSiteAddress("https://www.example.jp/kensaku/GECA110010.do?x=1"));
    EXPECT_TRUE(IsSiteAddress("http://WWW.EXAMPLE.JP:8080/"));
    EXPECT_FALSE(IsSiteAddress("https://www.example.jp.evil.test/"));
    EXPECT_FALSE(IsSiteAddress("res://ieframe.dll/navcancl.htm"));
    EXPECT_FALSE(IsSiteAddress(""));
    EXPECT_FALSE(IsSiteAddress("not an address"));
}
