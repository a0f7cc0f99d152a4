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

using namespace kenmori;

static const std::string kSearchPagePath = "/kensaku/GECA110010.do";

class WarmUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearProxyEnvironment();
        ClearStoredCookies();
        site = SiteConfigFor(server.baseAddress());
        site.warmUpTimeLimit = std::chrono::milliseconds(5000);
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
    SiteConfig site;
};

TEST_F(WarmUpTest, VisitGivesTheSitesCookieWithAFixedAgent)
{
    server.get(kSearchPagePath, [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Set-Cookie", "JSESSIONID=abc123; Path=/");
        response.headers.emplace("Set-Cookie", "hidden=1; Path=/; HttpOnly");
        response.set_content("<html>search</html>", "text/html; charset=UTF-8");
    });
    const AgentGenerator before = site.agents->peek();
    const WarmUpResult result = FetchSearchPage(site);

    EXPECT_TRUE(result.pageArrived);
    EXPECT_EQ(result.finalAddress, SearchPageAddress(site));
    EXPECT_TRUE(IsSiteAddress(site, result.finalAddress));
    // A page script never sees an HttpOnly cookie.
    EXPECT_EQ(result.cookie, "JSESSIONID=abc123");
    EXPECT_EQ(site.agents->peek().state, before.state);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010");
    EXPECT_EQ(requests[0].header("User-Agent"), kWarmUpUserAgent);
    EXPECT_EQ(requests[0].header("Accept-Language"), "ja-JP");

    // The cookie now travels with the run's requests.
    HttpPostToFile(site, "", std::filesystem::temp_directory_path() / "kenmori_warmup_unused.dat",
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
    const WarmUpResult result = FetchSearchPage(site);
    EXPECT_TRUE(result.pageArrived);
    EXPECT_EQ(result.finalAddress, server.baseAddress() + "/kensaku/moved.html");
    EXPECT_TRUE(result.cookie.empty());
}

TEST_F(WarmUpTest, NoPageArrivesFromAMissingSlowOrAbandonedSite)
{
    {
        LocalHttpServer gone;
        site.baseAddress = gone.baseAddress();
    }
    WarmUpResult result = FetchSearchPage(site);
    EXPECT_FALSE(result.pageArrived);
    EXPECT_TRUE(result.finalAddress.empty());

    site.baseAddress = server.baseAddress();
    holdSearchPage();
    const auto start = std::chrono::steady_clock::now();
    site.warmUpTimeLimit = std::chrono::milliseconds(200);
    result = FetchSearchPage(site);
    EXPECT_FALSE(result.pageArrived);
    site.warmUpTimeLimit = std::chrono::seconds(60);
    result = FetchSearchPage(site, [] { return true; });
    EXPECT_FALSE(result.pageArrived);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(WarmUpSiteTest, OnlyTheSitesHostPassesTheSiteTest)
{
    const SiteConfig site = SiteConfigFor("https://www.Example.jp/");
    EXPECT_TRUE(IsSiteAddress(site, "https://www.example.jp/kensaku/GECA110010.do?x=1"));
    EXPECT_TRUE(IsSiteAddress(site, "http://WWW.EXAMPLE.JP:8080/"));
    EXPECT_FALSE(IsSiteAddress(site, "https://www.example.jp.evil.test/"));
    EXPECT_FALSE(IsSiteAddress(site, "res://ieframe.dll/navcancl.htm"));
    EXPECT_FALSE(IsSiteAddress(site, ""));
    EXPECT_FALSE(IsSiteAddress(site, "not an address"));
}
