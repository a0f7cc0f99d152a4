// The demonstration site, talked to the way the product talks to the real
// one: its own requests, its search body, its detail extraction.

#include "DemoSite.h"

#include "reference/CityResolution.h"
#include "reference/ReferenceDatabase.h"
#include "text/CodePage932.h"
#include "site/CurlSession.h"
#include "site/SiteAccess.h"
#include "text/TextUtils.h"
#include "run/DetailExtraction.h"
#include "reference/IndustryLookup.h"
#include "run/SearchRequest.h"
#include "support/ReferenceTestSupport.h"
#include "support/TestEnvironment.h"

#include "pages/ListPageScan.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

using namespace kenmori;

namespace {

const std::string kSearchPage = "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010";

std::string U(std::string_view sjis)
{
    return ShiftJisToUtf8(sjis);
}

DemoSiteOptions WithPostings(int count)
{
    DemoSiteOptions options;
    options.postingCount = count;
    return options;
}

// The older pager's post, which the site's pages no longer make.
std::string OldPager(int nowPage, int wantedPage)
{
    return "&screenId=GECA110010&fwListNowPage=" + std::to_string(nowPage) + "&fwListLeftPage="
        + std::to_string(wantedPage) + "&fwListNaviCount=7&fwListNaviBtn1=" + std::to_string(wantedPage);
}

// A list page read the way the worker reads it, with the texts of its count
// and error box as the page shows them.
struct ListPage {
    bool hasCount = false;
    std::string count;    // the text before "件", as shown ("1,234")
    std::string errorBox; // text of a msg_E paragraph
    std::vector<std::string> links;
    int nowPage = 0; // fwListNowPage
    std::optional<ListPageRequest> next;
    bool searchScreen = false; // the search screen came back instead
};

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

std::string FirstMatch(const std::string& text, const std::regex& pattern)
{
    std::smatch match;
    return std::regex_search(text, match, pattern) ? match[1].str() : std::string();
}

ListPage ReadListPageFile(const std::filesystem::path& file, const std::string& pageAddress,
                          const std::string& base)
{
    const std::string html = ReadFileBytes(file);
    const ListPageReading reading = ReadListPage(html, pageAddress, base);
    ListPage page;
    page.hasCount = reading.count.countFound;
    page.count = FirstMatch(html, std::regex("numberJobText_layout[^>]*><span class=\"fb\">([^<]*)件"));
    page.errorBox = FirstMatch(html, std::regex("<p class=\"msg_E\">([^<]*)</p>"));
    for (const std::string& link : reading.detailLinks)
        page.links.push_back(U(link));
    page.nowPage = reading.pager.nowPage.value_or(0);
    page.next = reading.nextPage;
    page.searchScreen = html.find("name=\"searchForm\"") != std::string::npos;
    return page;
}

std::vector<std::string> DetailUrls(const DemoSite& site, const std::vector<const DemoPosting*>& postings,
                                    size_t first, size_t count)
{
    std::vector<std::string> urls;
    for (size_t i = first; i < std::min(postings.size(), first + count); ++i)
        urls.push_back(site.detailUrl(*postings[i]));
    return urls;
}

// A site on a free port, with the product pointed at it and its cookies gone.
struct SiteFixture {
    explicit SiteFixture(DemoSiteOptions options = {})
        : site(std::move(options))
    {
        EXPECT_TRUE(dir.isValid());
        EXPECT_TRUE(site.start());
        siteConfig.baseAddress = site.baseAddress();
        ClearStoredCookies();
        pageFile = std::filesystem::path(dir.path().toStdString()) / "tmp.dat";
    }

    ListPage post(const std::string& body, const std::string& path, const std::string& cookie)
    {
        std::filesystem::remove(pageFile);
        HttpPostToFile(siteConfig, body, pageFile, path, cookie);
        return ReadListPageFile(pageFile, site.baseAddress() + path, site.baseAddress());
    }

    // The page's "次へ＞" pressed.
    ListPage next(const ListPage& page, const std::string& cookie)
    {
        EXPECT_TRUE(page.next);
        return page.next ? post(page.next->body, page.next->path, cookie) : ListPage{};
    }

    // Every detail link of the list, "次へ＞" pressed up to its last page.
    std::vector<std::string> walk(const ListPage& first, const std::string& cookie)
    {
        std::vector<std::string> links = first.links;
        for (ListPage page = first; page.next;) {
            page = next(page, cookie);
            links.insert(links.end(), page.links.begin(), page.links.end());
        }
        return links;
    }

    // The warm-up visit; gives the cookie text a page script would see.
    std::string warmUp()
    {
        HttpGetToFile(siteConfig, site.baseAddress() + kSearchPage, pageFile);
        return StoredSiteCookies(siteConfig);
    }

    QTemporaryDir dir;
    DemoSite site;
    SiteConfig siteConfig = LocalSite({});
    std::filesystem::path pageFile;
};

// Everything ReadJobDetail needs, without pauses.
struct DetailRun {
    explicit DetailRun(const SiteFixture& fixture)
        : siteConfig(fixture.siteConfig)
        , pageFile(fixture.pageFile.parent_path() / "detail.dat")
    {
        conditions.outputFields.fill(true);
    }
    RunContext context() { return RunContext{conditions, state, csv, host, siteConfig, {}, pageFile}; }

    SearchConditions conditions;
    RunState state;
    CsvOutputFile csv;
    ReferenceHost host;
    SiteConfig siteConfig;
    std::filesystem::path pageFile;
};

} // namespace

TEST(DemoSite, SessionSearchAndPagerInListMarkup)
{
    SiteFixture fixture;
    DemoSite& site = fixture.site;
    const std::string base = site.baseAddress();
    EXPECT_GT(site.port(), 0);
    EXPECT_EQ(base, "http://127.0.0.1:" + std::to_string(site.port()));

    const std::string cookie = fixture.warmUp();
    EXPECT_TRUE(StartsWith(cookie, "JSESSIONID=")) << cookie;

    SearchConditions tokyo;
    tokyo.prefecture1 = 13;
    const std::string body = BuildSearchRequestBody(tokyo);
    const std::vector<const DemoPosting*> hits = site.matching(ParseSearchBody(body));
    ASSERT_GT(hits.size(), 60u) << "the pager needs three pages";

    const ListPage first = fixture.post(body, "/kensaku/GECA110030.do", cookie);
    EXPECT_TRUE(first.hasCount);
    EXPECT_EQ(first.count, std::to_string(hits.size()));
    EXPECT_EQ(first.nowPage, 1);
    EXPECT_EQ(first.links, DetailUrls(site, hits, 0, 50));

    // The pager is the page's own form: "次へ＞" pressed, page after page.
    ListPage page = first;
    size_t shown = 50;
    while (shown < hits.size()) {
        page = fixture.next(page, cookie);
        EXPECT_EQ(page.nowPage, static_cast<int>(shown / 50 + 1));
        EXPECT_EQ(page.links, DetailUrls(site, hits, shown, 50));
        shown += 50;
    }
    EXPECT_FALSE(page.next); // "次へ＞" is disabled on the last page

    // Anything but the form as the page sends it gets the search screen back:
    // the older pager's post, or the form with a field changed.
    EXPECT_TRUE(fixture.post(OldPager(1, 2), "/kensaku/GECA110010.do", cookie).searchScreen);
    ASSERT_TRUE(first.next);
    for (const std::string& field : {std::string("fwListNaviDisp=50"), std::string("listKjNo0=")}) {
        std::string tampered = first.next->body;
        tampered.replace(tampered.find(field), field.size(), field + "9");
        EXPECT_TRUE(fixture.post(tampered, first.next->path, cookie).searchScreen) << field;
    }
    // Every submit button sent at once is no button pressed.
    EXPECT_TRUE(fixture.post(first.next->body + "&fwListNaviBtn2=2", first.next->path, cookie).searchScreen);

    // A new search replaces the session's list.
    SearchConditions osaka;
    osaka.prefecture1 = 27;
    const ListPage other = fixture.post(BuildSearchRequestBody(osaka), "/kensaku/GECA110030.do", cookie);
    const auto osakaHits = site.matching(ParseSearchBody(BuildSearchRequestBody(osaka)));
    ASSERT_GT(osakaHits.size(), 40u);
    EXPECT_EQ(other.links, DetailUrls(site, osakaHits, 0, 50));
    EXPECT_TRUE(fixture.post(first.next->body, first.next->path, cookie).searchScreen); // the other search's form

    // The session also comes through when only the product's own cookie,
    // which wraps the page's cookie text, carries it.
    ClearStoredCookies();
    const ListPage wrapped = fixture.post(OldPager(1, 2), "/kensaku/GECA110010.do", cookie);
    EXPECT_TRUE(wrapped.searchScreen);
    const ListPage again = fixture.post(BuildSearchRequestBody(osaka), "/kensaku/GECA110030.do", cookie);
    EXPECT_EQ(again.links, DetailUrls(site, osakaHits, 0, 50));

    // Without the session the pager has nothing to page through.
    ClearStoredCookies();
    for (const std::string& noSession : {std::string(), std::string("JSESSIONID=0123456789")}) {
        const ListPage expired = fixture.post(first.next->body, first.next->path, noSession);
        EXPECT_EQ(expired.errorBox, "セッションが切れました。再度検索してください。") << noSession;
        EXPECT_FALSE(expired.hasCount);
        EXPECT_TRUE(expired.links.empty());
    }
}

TEST(DemoSite, LinksAbsoluteOrRelativeAndThePageSizeAsAsked)
{
    DemoSiteOptions options;
    options.relativeLinks = true;
    options.pageSize = 30;
    SiteFixture fixture(options);
    const std::string cookie = fixture.warmUp();
    const std::string body = BuildSearchRequestBody(SearchConditions{});
    const auto hits = fixture.site.matching(ParseSearchBody(body));
    const ListPage first = fixture.post(body, "/kensaku/GECA110030.do", cookie);
    EXPECT_EQ(first.links, DetailUrls(fixture.site, hits, 0, 30));
    EXPECT_EQ(fixture.next(first, cookie).links, DetailUrls(fixture.site, hits, 30, 30));
    const std::string html = ReadFileBytes(fixture.pageFile);
    EXPECT_NE(html.find("href=\"./GECA110010.do?"), std::string::npos);
    EXPECT_NE(html.find("<input type=\"hidden\" name=\"fwListNaviDisp\" value=\"30\">"), std::string::npos);
}

TEST(DemoSite, CountsAboveAThousandAreGroupedAndEmptyResultsHaveNoCount)
{
    SiteFixture fixture(WithPostings(1500));
    const std::string cookie = fixture.warmUp();
    const std::string body = BuildSearchRequestBody(SearchConditions{});
    const size_t general = fixture.site.matching(ParseSearchBody(body)).size();
    ASSERT_GE(general, 1000u);
    const std::string digits = std::to_string(general);
    const ListPage page = fixture.post(body, "/kensaku/GECA110030.do", cookie);
    EXPECT_EQ(page.count, digits.substr(0, digits.size() - 3) + "," + digits.substr(digits.size() - 3));
    EXPECT_EQ(page.links.size(), 50u);

    SearchConditions nothing;
    nothing.freeWords = Utf8ToShiftJis("宇宙飛行士");
    const ListPage empty = fixture.post(BuildSearchRequestBody(nothing), "/kensaku/GECA110030.do", cookie);
    EXPECT_FALSE(empty.hasCount);
    EXPECT_EQ(empty.errorBox, "");
    EXPECT_TRUE(empty.links.empty());
}

TEST(DemoSite, UnknownJobSeekerNumberAnswersTheErrorBox)
{
    SiteFixture fixture;
    const std::string cookie = fixture.warmUp();
    SearchConditions conditions;
    conditions.jobSeekerNumber1 = "13010";
    conditions.jobSeekerNumber2 = "7654321";
    const ListPage unknown = fixture.post(BuildSearchRequestBody(conditions), "/kensaku/GECA110030.do", cookie);
    EXPECT_EQ(unknown.errorBox, "入力された求職番号は存在しません。");
    EXPECT_FALSE(unknown.hasCount);
    EXPECT_TRUE(unknown.links.empty());

    conditions.jobSeekerNumber2 = "1234567";
    const ListPage known = fixture.post(BuildSearchRequestBody(conditions), "/kensaku/GECA110030.do", cookie);
    EXPECT_EQ(known.errorBox, "");
    EXPECT_TRUE(known.hasCount);
    EXPECT_EQ(known.links.size(), 50u);
}

TEST(DemoSite, SearchesHonourAreaKindIndustryAndFreeWords)
{
    const DemoSite site;
    const auto hitsOf = [&](const SearchConditions& conditions) {
        return site.matching(ParseSearchBody(BuildSearchRequestBody(conditions)));
    };
    const auto countWhere = [&](auto predicate) {
        return static_cast<size_t>(std::count_if(site.postings().begin(), site.postings().end(), predicate));
    };

    SearchConditions conditions;
    conditions.prefecture1 = 13;
    conditions.prefecture2 = 27;
    auto hits = hitsOf(conditions);
    EXPECT_EQ(hits.size(), countWhere([](const DemoPosting& p) {
                  return (p.prefectureCode == "13" || p.prefectureCode == "27") && p.kind == kDemoKindGeneral;
              }));

    conditions = {};
    conditions.prefecture1 = 13;
    conditions.cityCodes = "13104%2C13201";
    conditions.prefecture2 = 1;
    hits = hitsOf(conditions);
    ASSERT_FALSE(hits.empty());
    EXPECT_EQ(hits.size(), countWhere([](const DemoPosting& p) {
                  return (p.cityCode == "13104" || p.cityCode == "13201" || p.prefectureCode == "01")
                      && p.kind == kDemoKindGeneral;
              }));

    // Kind of posting: general part-time, graduates, disabled full-time.
    const std::pair<int, std::pair<int, int>> kinds[] = {{2, {kDemoKindGeneral, kDemoPartTime}},
                                                         {3, {kDemoKindGraduate, 0}},
                                                         {7, {kDemoKindDisabled, kDemoFullTime}}};
    for (const auto& [jobCheck, kindAndStyle] : kinds) {
        // A copy: clang 14, which clang-tidy runs on, cannot capture a structured binding.
        const std::pair<int, int> wanted = kindAndStyle;
        conditions = {};
        conditions.postingKind = jobCheck;
        hits = hitsOf(conditions);
        EXPECT_FALSE(hits.empty()) << jobCheck;
        EXPECT_EQ(hits.size(), countWhere([&](const DemoPosting& p) {
                      return p.kind == wanted.first && (wanted.second == 0 || p.workStyle == wanted.second);
                  }))
            << jobCheck;
    }

    conditions = {};
    conditions.industry = 39;
    hits = hitsOf(conditions);
    ASSERT_FALSE(hits.empty());
    EXPECT_TRUE(
        std::all_of(hits.begin(), hits.end(), [](const DemoPosting* p) { return p->industryCode == "39"; }));

    // Free words: OR finds more than AND, NOT keeps out what it names.
    conditions = {};
    conditions.freeWords = Utf8ToShiftJis("開発　介護");
    const auto either = hitsOf(conditions);
    conditions.wordsMode = 1;
    const auto both = hitsOf(conditions);
    conditions.freeWords = Utf8ToShiftJis("開発 システム");
    const auto software = hitsOf(conditions);
    conditions.freeWords = Utf8ToShiftJis("介護");
    conditions.wordsMode = 2;
    const auto withoutCare = hitsOf(conditions);
    const auto has = [](const DemoPosting* p, const char* word) {
        return p->searchText.find(word) != std::string::npos;
    };
    EXPECT_TRUE(both.empty());
    ASSERT_FALSE(either.empty());
    EXPECT_TRUE(
        std::all_of(either.begin(), either.end(), [&](auto p) { return has(p, "開発") || has(p, "介護"); }));
    ASSERT_FALSE(software.empty());
    EXPECT_LT(software.size(), either.size());
    EXPECT_TRUE(std::all_of(software.begin(), software.end(),
                            [&](auto p) { return has(p, "開発") && has(p, "システム"); }));
    EXPECT_FALSE(withoutCare.empty());
    EXPECT_TRUE(std::none_of(withoutCare.begin(), withoutCare.end(), [&](auto p) { return has(p, "介護"); }));
}

TEST(DemoSite, EveryDetailPageReadsIntoThePostingsFields)
{
    // Enough postings for every kind of row and every special posting.
    SiteFixture fixture(WithPostings(120));
    DetailRun run(fixture);
    const DemoSite& site = fixture.site;
    int shown = 0;
    for (const DemoPosting& posting : site.postings()) {
        const std::string url = site.detailUrl(posting);
        JobRecord record = ReadJobDetail(run.context(), url);
        if (posting.failsFirstDownload) {
            EXPECT_EQ(record[kSlotJobNumber], "") << "the first answer is the busy page";
            record = ReadJobDetail(run.context(), url);
        }
        const DemoFields expected = site.expectedFields(posting);
        for (int slot = 0; slot < kOutputFieldCount; ++slot) {
            const std::string actual = U(NormalizeCsvValue(record[static_cast<size_t>(slot)]));
            if (actual != expected[static_cast<size_t>(slot)] && ++shown <= 25)
                ADD_FAILURE() << posting.jobNumber << " " << OutputFieldNamesUtf8()[static_cast<size_t>(slot)]
                              << ": read \"" << actual << "\", expected \"" << expected[static_cast<size_t>(slot)]
                              << "\"";
        }
    }
    EXPECT_EQ(shown, 0) << "fields that differ";
}

TEST(DemoSite, SpecialPostingsAndTheirPages)
{
    SiteFixture fixture;
    const DemoSite& site = fixture.site;
    const auto& postings = site.postings();
    ASSERT_EQ(postings.size(), 300u);

    std::vector<const DemoPosting*> deleted, hidden, retried, waved;
    for (const DemoPosting& posting : postings) {
        if (posting.deleted)
            deleted.push_back(&posting);
        if (posting.companyHidden)
            hidden.push_back(&posting);
        if (posting.failsFirstDownload)
            retried.push_back(&posting);
        if (posting.waveDash && !posting.deleted)
            waved.push_back(&posting);
    }
    EXPECT_GE(deleted.size(), 3u);
    EXPECT_GE(hidden.size(), 3u);
    ASSERT_EQ(retried.size(), 1u);
    ASSERT_FALSE(waved.empty());
    for (const DemoPosting* posting : deleted) {
        const DemoFields fields = site.expectedFields(*posting);
        EXPECT_EQ(fields[kSlotJobNumber], "（削除済み）");
        EXPECT_EQ(fields[kSlotCompanyName], "");
    }
    for (const DemoPosting* posting : hidden)
        EXPECT_EQ(posting->fields[kSlotCompanyName], "（事業所名非公開）");

    // The retried posting is written once, from its second answer.
    DetailRun run(fixture);
    const std::filesystem::path csvPath = fixture.pageFile.parent_path() / "out.csv";
    ASSERT_TRUE(run.csv.open(csvPath));
    EXPECT_EQ(ExtractJobDetail(run.context(), site.detailUrl(*retried.front())), JobLineOutcome::Written);
    EXPECT_TRUE(run.state.detailRetried);
    run.csv.close();
    std::ifstream csv(csvPath, std::ios::binary);
    std::stringstream written;
    written << csv.rdbuf();
    const DemoFields fields = site.expectedFields(*retried.front());
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "\"" : ",\"") + field + "\"";
    EXPECT_EQ(U(written.str()), line + "\r\n");

    // Raw answers: wave dashes as the site prints them, a deleted posting,
    // an unknown posting.
    httplib::Client client("127.0.0.1", site.port());
    const auto path = [](const DemoPosting& posting) { return posting.detailPath; };
    auto answer = client.Get(path(*waved.front()));
    ASSERT_TRUE(answer);
    EXPECT_NE(answer->body.find("〜"), std::string::npos);
    EXPECT_EQ(answer->get_header_value("Content-Type"), "text/html; charset=UTF-8");
    answer = client.Get(path(*deleted.front()));
    ASSERT_TRUE(answer);
    EXPECT_NE(answer->body.find("<p class=\"msg_E\">該当する情報はありません。</p>"), std::string::npos);
    answer = client.Get("/kensaku/GECA110010.do?screenId=GECA110010&action=dispDetailBtn&kJNo=99999-99999999");
    ASSERT_TRUE(answer);
    EXPECT_NE(answer->body.find("該当する情報は"), std::string::npos);
}

TEST(DemoSite, DataIsFixedAndItsPlacesAreInTheReferenceDatabase)
{
    const DemoSite first;
    const DemoSite second;
    ASSERT_EQ(first.postings().size(), second.postings().size());
    std::set<std::string> numbers;
    for (size_t i = 0; i < first.postings().size(); ++i) {
        const DemoPosting& a = first.postings()[i];
        EXPECT_EQ(a.jobNumber, second.postings()[i].jobNumber);
        EXPECT_EQ(a.fields, second.postings()[i].fields);
        EXPECT_TRUE(numbers.insert(a.jobNumber).second) << a.jobNumber;
        EXPECT_EQ(first.findPosting(a.jobNumber), &a);
    }
    EXPECT_EQ(DemoSite(WithPostings(12)).postings().size(), 12u);
    EXPECT_EQ(DemoSite(WithPostings(-4)).postings().size(), 0u);
    EXPECT_EQ(first.findPosting("13010-00000000"), nullptr);

    // City names resolve, through the product's own lookup, to the codes
    // the site files its postings under.
    ReferenceHost host;
    std::set<std::string> checked;
    for (const DemoPosting& posting : first.postings()) {
        if (!checked.insert(posting.cityCode).second)
            continue;
        const CityResolutionResult result = ResolveCityCodes(host.database, Utf8ToShiftJis(posting.cityName),
                                                             std::stoi(posting.prefectureCode));
        EXPECT_EQ(result.cityCodes, posting.cityCode) << posting.cityName;
    }
}

TEST(DemoSite, LaterSearchesListThePostingsAddedSince)
{
    DemoSiteOptions options = WithPostings(100);
    options.addPerSearch = 40;
    SiteFixture fixture(options);
    DemoSite& site = fixture.site;
    // A site made with all its postings at once: the grown one must match it
    // posting for posting and list for list.
    const DemoSite whole(WithPostings(180));
    const std::string body = BuildSearchRequestBody(SearchConditions{});
    const auto listedBy = [&](int count) {
        std::vector<std::string> links;
        for (const DemoPosting* posting : whole.matching(ParseSearchBody(body))) {
            if (posting->index < count)
                links.push_back(site.baseAddress() + posting->detailPath);
        }
        return links;
    };
    const std::string cookie = fixture.warmUp();
    const ListPage first = fixture.post(body, "/kensaku/GECA110030.do", cookie);
    const std::vector<std::string> firstLinks = fixture.walk(first, cookie);
    EXPECT_EQ(firstLinks, listedBy(100));
    EXPECT_EQ(first.count, std::to_string(firstLinks.size()));
    ASSERT_EQ(site.postings().size(), 100u) << "neither the first search nor the pager adds postings";

    httplib::Client client("127.0.0.1", site.port());
    const auto detailPage = [&](const DemoPosting& posting) {
        const auto answer = client.Get(posting.detailPath);
        return answer ? answer->body : std::string();
    };
    std::vector<std::string> pagesBefore;
    for (const DemoPosting& posting : site.postings()) {
        if (posting.failsFirstDownload)
            detailPage(posting); // its busy page
        pagesBefore.push_back(detailPage(posting));
    }
    const DemoPosting* const firstPosting = &site.postings().front();

    const ListPage second = fixture.post(body, "/kensaku/GECA110030.do", cookie);
    const std::vector<std::string> secondLinks = fixture.walk(second, cookie);
    ASSERT_EQ(site.postings().size(), 140u);
    EXPECT_EQ(secondLinks, listedBy(140));
    EXPECT_EQ(second.count, std::to_string(secondLinks.size()));
    ASSERT_GT(secondLinks.size(), 100u) << "the new postings fill a page more";
    EXPECT_TRUE(std::equal(firstLinks.begin(), firstLinks.end(), secondLinks.begin()))
        << "listed after the others";

    EXPECT_EQ(&site.postings().front(), firstPosting) << "postings never move";
    DetailRun run(fixture);
    for (size_t i = 0; i < site.postings().size(); ++i) {
        const DemoPosting& posting = site.postings()[i];
        EXPECT_EQ(posting.jobNumber, whole.postings()[i].jobNumber);
        EXPECT_EQ(posting.fields, whole.postings()[i].fields);
        EXPECT_EQ(site.findPosting(posting.jobNumber), &posting);
        if (i < pagesBefore.size()) {
            EXPECT_EQ(detailPage(posting), pagesBefore[i]) << posting.jobNumber;
            continue;
        }
        const JobRecord record = ReadJobDetail(run.context(), site.detailUrl(posting));
        const DemoFields expected = site.expectedFields(posting);
        for (size_t slot = 0; slot < expected.size(); ++slot)
            EXPECT_EQ(U(NormalizeCsvValue(record[slot])), expected[slot]) << posting.jobNumber << " " << slot;
    }

    const ListPage third = fixture.post(body, "/kensaku/GECA110030.do", cookie);
    EXPECT_EQ(site.postings().size(), 180u);
    EXPECT_EQ(third.count, std::to_string(listedBy(180).size()));
}

TEST(DemoSite, WithoutAddedPostingsEverySearchListsTheSame)
{
    SiteFixture fixture(WithPostings(100));
    const std::string cookie = fixture.warmUp();
    const std::string body = BuildSearchRequestBody(SearchConditions{});
    const std::vector<std::string> links = fixture.walk(fixture.post(body, "/kensaku/GECA110030.do", cookie),
                                                        cookie);
    ASSERT_FALSE(links.empty());
    for (int search = 0; search < 2; ++search)
        EXPECT_EQ(fixture.walk(fixture.post(body, "/kensaku/GECA110030.do", cookie), cookie), links);
    EXPECT_EQ(fixture.site.postings().size(), 100u);
}

TEST(DemoSite, OddRequestsGetDefinedAnswers)
{
    SiteFixture fixture;
    DemoSite& site = fixture.site;
    EXPECT_FALSE(site.start()) << "already running";
    httplib::Client client("127.0.0.1", site.port());

    auto search = client.Post("/kensaku/GECA110030.do",
                              "%%%&&==&todohukenHidden=%ZZ%2&kjKbnRadioBtn=99999999999999999999",
                              "application/x-www-form-urlencoded");
    ASSERT_TRUE(search);
    EXPECT_EQ(search->status, 200);
    const std::string cookie = search->get_header_value("Set-Cookie");
    ASSERT_TRUE(StartsWith(cookie, "JSESSIONID="));
    const httplib::Headers session{{"Cookie", cookie.substr(0, cookie.find(';'))}};

    const auto pagerPage = [&](const std::string& path, const std::string& body) {
        auto answer = client.Post(path, session, body, "application/x-www-form-urlencoded");
        EXPECT_TRUE(answer);
        return answer ? answer->body : std::string();
    };
    // Pager posts that no page's form makes get the search screen: an
    // unreadable or huge page number, or the older pager's post.
    for (const std::string& body : {std::string("&fwListNaviBtn1=abc&fwListNowPage=1"),
                                    std::string("&fwListNaviBtnNext=x&fwListNowPage=99999999999999")})
        EXPECT_NE(pagerPage("/kensaku/GECA110030.do", body).find("name=\"searchForm\""), std::string::npos)
            << body;
    EXPECT_NE(pagerPage("/kensaku/GECA110010.do", "&fwListNaviBtn1=1").find("name=\"searchForm\""),
              std::string::npos);

    auto missing = client.Get("/kensaku/nothing.do");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    auto sheet = client.Get("/kensaku/GECA110020.do?kJNo=" + site.postings().front().jobNumber);
    ASSERT_TRUE(sheet);
    EXPECT_NE(sheet->body.find(site.postings().front().jobNumber), std::string::npos);

    site.stop();
    EXPECT_FALSE(site.running());
    ASSERT_TRUE(site.start());
    EXPECT_TRUE(site.running());
    httplib::Client again("127.0.0.1", site.port());
    auto screen = again.Get(kSearchPage);
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->status, 200);
}
