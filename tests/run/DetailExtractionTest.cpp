#include "site/SiteAccess.h"
#include "support/LocalHttpServer.h"
#include "run/DetailExtraction.h"
#include "support/DetailTestSupport.h"
#include "run/RunHost.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <sstream>

using namespace kenmori;

static std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The run's host: answers the industry lookup from a table.
class IndustryHost : public RunHost {
public:
    IndustryAnswers industries;
    std::function<void()> onLookup;

    void resetProgress(int) override {}
    void stepProgress(int, int, const std::string&) override {}
    std::string lookupIndustryCategory(const std::string& industryName) override
    {
        if (onLookup)
            onLookup();
        const auto it = industries.find(U(industryName));
        return it == industries.end() ? std::string() : S(it->second);
    }
};

static const char* const kDetailPath = "/kensaku/GECA110020.do";

class DetailExtractionTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    LocalHttpServer server;
    IndustryHost host;
    SearchConditions conditions;
    RunState state;
    CsvOutputFile csv;
    SiteConfig siteConfig = LocalSite({});
    bool stop = false;
    std::filesystem::path pageFile = dir.filePath("tmp.dat").toStdString();
    std::filesystem::path csvPath = dir.filePath("out.csv").toStdString();

    void SetUp() override
    {
        conditions.outputFields.fill(true);
        host.industries = {{"事務用機械器具卸売業", "卸売業、小売業,54,機械器具卸売業,5422"}};
        siteConfig.baseAddress = server.baseAddress();
        ASSERT_TRUE(WriteCsvHeader(csv, csvPath, conditions.outputFields));
    }

    RunContext context()
    {
        return RunContext{conditions, state, csv, host, siteConfig, [this] { return stop; }, pageFile};
    }

    std::string detailUrl(const std::string& base) const
    {
        return base + kDetailPath + "?screenId=GECA110020&action=dispDetailBtn&kJNo=13010-12345678";
    }

    // Answers the n-th request with the n-th fixture; the last one repeats.
    void serve(std::vector<std::string> fixtures)
    {
        auto served = std::make_shared<size_t>(0);
        server.get(kDetailPath, [fixtures, served](const httplib::Request&, httplib::Response& response) {
            const std::string& name = fixtures[std::min(*served, fixtures.size() - 1)];
            ++*served;
            response.set_content(ReadAll(DetailFixturePath(name)), "text/html; charset=UTF-8");
        });
    }

    // The data lines written so far (the header dropped).
    std::vector<std::string> dataLines()
    {
        csv.close();
        std::vector<std::string> lines;
        std::istringstream text(ReadAll(csvPath));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        if (!lines.empty())
            lines.erase(lines.begin());
        return lines;
    }
};

TEST_F(DetailExtractionTest, FullPostingGivesTheExpectedLineByteForByte)
{
    serve({"full_posting.html"});
    EXPECT_EQ(ExtractJobDetail(context(), detailUrl(server.baseAddress())), JobLineOutcome::Written);
    ASSERT_TRUE(csv.close());

    std::string expected = ReadAll(DetailFixturePath("full_posting.expected.csv"));
    ASSERT_TRUE(expected.ends_with('\n'));
    expected.pop_back();
    for (size_t at; (at = expected.find("{BASE}")) != std::string::npos;)
        expected.replace(at, 6, server.baseAddress());
    EXPECT_EQ(ReadAll(csvPath), CsvHeaderLine(conditions.outputFields) + "\r\n" + S(expected) + "\r\n");

    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, detailUrl(""));
    EXPECT_FALSE(state.detailRetried);
    EXPECT_EQ(state.verdict, kVerdictLineWritten);
}

TEST_F(DetailExtractionTest, PageWithoutJobNumberIsFetchedOnceMore)
{
    serve({"busy_page.html", "wave_dash.html"});
    EXPECT_EQ(ExtractJobDetail(context(), detailUrl(server.baseAddress())), JobLineOutcome::Written);
    EXPECT_TRUE(state.detailRetried);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, requests[0].target);
    const auto lines = dataLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("\"27010-55556666\",")) << lines[0];
}

TEST_F(DetailExtractionTest, RetryRunsAtMostOnceAndNeverAfterAStop)
{
    serve({"busy_page.html"});
    const auto requestsFor = [&] {
        server.clearRequests();
        ExtractJobDetail(context(), detailUrl(server.baseAddress()));
        return server.requests().size();
    };
    EXPECT_EQ(requestsFor(), 2u);
    EXPECT_EQ(requestsFor(), 1u); // this posting was already retried
    state.detailRetried = false;
    stop = true;
    EXPECT_EQ(requestsFor(), 0u); // a stop abandons the download itself
    EXPECT_FALSE(state.detailRetried);
    EXPECT_TRUE(dataLines().empty());
    EXPECT_EQ(state.verdict, kVerdictNothingWritten);
}

TEST_F(DetailExtractionTest, FailedDownloadNeverRereadsThePreviousPage)
{
    std::string deadBase;
    {
        LocalHttpServer gone;
        deadBase = gone.baseAddress();
    }
    // The previous posting's page is still in the page file.
    std::filesystem::copy_file(DetailFixturePath("full_posting.html"), pageFile);
    EXPECT_EQ(ExtractJobDetail(context(), detailUrl(deadBase)), JobLineOutcome::NoJobNumber);
    EXPECT_TRUE(state.detailRetried);
    EXPECT_FALSE(std::filesystem::exists(pageFile));
    EXPECT_TRUE(dataLines().empty());
}

// Where the scan itself stops is DetailPageScan's test; here the stop comes
// while the run asks for the industry the page named.
TEST_F(DetailExtractionTest, StopDuringTheReadingWritesWhatWasReadWithoutRetry)
{
    serve({"full_posting.html"});
    host.onLookup = [this] { stop = true; };
    EXPECT_EQ(ExtractJobDetail(context(), detailUrl(server.baseAddress())), JobLineOutcome::Written);
    EXPECT_EQ(server.requests().size(), 1u);
    const auto lines = dataLines();
    ASSERT_EQ(lines.size(), 1u);
    const std::string line = U(lines[0]);
    EXPECT_TRUE(line.starts_with("\"13010-12345678\",")) << line;
    EXPECT_NE(line.find("\"5422:事務用機械器具卸売業\""), std::string::npos);
    EXPECT_NE(line.find("GECA110020.do?&kyujinhyoBtn="), std::string::npos);
}
