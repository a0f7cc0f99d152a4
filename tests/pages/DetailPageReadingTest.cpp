// A detail page reads the same whatever its line layout and whatever classes
// its captions carry, and every field comes from its own row.

#include "DemoLayout.h"
#include "pages/DetailLabels.h"
#include "pages/DetailPageParts.h"
#include "pages/DetailPageScan.h"
#include "run/CsvOutput.h"
#include "support/DetailTestSupport.h"
#include "support/PageVariants.h"
#include "support/RowOrigin.h"
#include "support/TestEnvironment.h"
#include "text/TextUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

using namespace kenmori;

namespace {

// A scan whose industry names the reference database would all know.
DetailPageScan ScanAnyIndustry(std::string_view html)
{
    DetailPageScan scan = ScanDetailPage(html, {});
    for (const std::string& name : scan.industryNames)
        StoreIndustryCategory(S("大,1,中,2"), name, scan.record);
    return scan;
}

// Everything the readers take from a page: the values as written, the
// posting-sheet query last.
std::vector<std::string> DetailReading(std::string_view html)
{
    const DetailPageScan scan = ScanAnyIndustry(html);
    std::vector<std::string> reading;
    for (const std::string& value : scan.record)
        reading.push_back(U(NormalizeCsvValue(value)));
    reading.push_back(scan.postingSheetQuery);
    return reading;
}

// The slots in which two readings differ, readably; "" when they agree.
std::string Differences(const std::vector<std::string>& got, const std::vector<std::string>& want)
{
    std::string differences;
    for (size_t slot = 0; slot < want.size(); ++slot) {
        if (got[slot] != want[slot])
            differences += "\n  slot " + std::to_string(slot) + ": \"" + got[slot] + "\" instead of \""
                + want[slot] + "\"";
    }
    return differences;
}

std::vector<std::filesystem::path> DetailFixtures()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(KENMORI_TEST_DATA_DIR) + "/detail")) {
        if (entry.path().extension() == ".html")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Markup that a reader could leave in a field: a tag, or a reference.
const std::regex kMarkup("<[A-Za-z/!][^>]*>|&(#[0-9]+|#[xX][0-9A-Fa-f]+|[A-Za-z]+);");

} // namespace

TEST(DetailPageReading, EveryFixtureReadsTheSameInEveryLayoutAndMarkup)
{
    for (const std::filesystem::path& path : DetailFixtures()) {
        SCOPED_TRACE(path.filename().string());
        const std::string html = ReadFileBytes(path);
        const std::vector<std::string> reading = DetailReading(html);
        const std::pair<const char*, std::string> variants[] = {
            {"libxml2 formatted", Libxml2Formatted(html)},
            {"spread", SpreadLayout(html)},
            {"on one line", OnOneLine(html)},
            {"plain captions", WithCaptionClass(html, "")},
            {"fs08 captions", WithCaptionClass(html, " class=\"fs08 m05\"")},
            {"label captions", WithCaptionClass(html, " class=\"label\"")},
            {"plain captions on one line", OnOneLine(WithCaptionClass(html, ""))},
        };
        for (const auto& [name, page] : variants) {
            EXPECT_EQ(Differences(DetailReading(page), reading), "") << name;
            EXPECT_EQ(FieldPiecesOutsideTheirRows(page), "") << name;
        }
        for (size_t slot = 0; slot + 1 < reading.size(); ++slot)
            EXPECT_FALSE(std::regex_search(reading[slot], kMarkup)) << reading[slot];
    }
}

TEST(DetailPageReading, FormattedPageOfTheSiteFillsEveryField)
{
    const JobRecord record = ScanAnyIndustry(ReadFileBytes(DetailFixturePath("spread_posting.html"))).record;
    const auto field = [&](int slot) { return U(NormalizeCsvValue(record[static_cast<size_t>(slot)])); };
    EXPECT_EQ(field(0), "13010-87654321");
    EXPECT_EQ(field(3), "株式会社 見本");
    EXPECT_EQ(field(4), "カブシキガイシャ ミホン");
    EXPECT_EQ(field(5), "代表取締役 見本 太郎");
    EXPECT_EQ(field(17), "一般事務"); // the job-tag link and its caption dropped
    EXPECT_EQ(field(21), "あり 18歳～35歳");
    EXPECT_EQ(field(22), "長期勤続によるキャリア形成のため");
    EXPECT_EQ(field(31), "200,000円～260,000円");
    EXPECT_EQ(field(36), "あり、年2回 （前年度実績）");
    EXPECT_EQ(field(15), "事務用品の卸売&通信販売オフィス家具<中古>の販売");
}

TEST(DetailPageReading, PageOf2025FillsEachFieldFromItsOwnRow)
{
    const JobRecord record = ScanAnyIndustry(ReadFileBytes(DetailFixturePath("posting_2025.html"))).record;
    std::map<int, std::string> filled;
    for (int slot = 0; slot < static_cast<int>(record.size()); ++slot) {
        if (!record[static_cast<size_t>(slot)].empty())
            filled[slot] = U(NormalizeCsvValue(record[static_cast<size_t>(slot)]));
    }
    const std::map<int, std::string> expected = {
        {0, "14050-90001234"},
        {3, "株式会社 山吹"},
        {4, "カブシキガイシャ ヤマブキ"},
        {5, "代表取締役 山吹 一郎"},
        {7, "〒231-0000"},
        {8, "神奈川県横浜市中区見本町1-2-3 見本ビル7階株式会社山吹 横浜支社"},
        {9, "045-123-4567"},
        {11, "https://yamabuki.example/"},
        {17, "一般事務"},
        {21, "制限あり ～64歳"},
        {22, "定年を上限とする 定年が６５歳のため"},
        {31, "220,000円～280,000円"},
        {36, "あり、年2回"},
        {37,
         "休日 土曜日，日曜日，祝日，その他、その他 年末年始（１２月２９日?１月３日）、"
         "６ヶ月経過後の年次有給休暇日数 10日"},
        {38, "毎週"},
        {45, "可"},
        {46, "なし"},
        {50, "企業全体 120人、就業場所 35人、うち女性 20人、うちパート 5人"},
        {54, "あり、勤続年数 3年以上"},
        {67, "あり 期間 ３ヶ月"},
        {70, "あり"},
        {86, "総務部、採用担当 佐藤 美咲"},
        {87, "saiyo@yamabuki.example"},
        {92, ""},
    };
    std::map<int, std::string> want = expected;
    want.erase(92);
    EXPECT_EQ(filled, want);
}

TEST(DetailPageReading, NoMarkupOrReferenceReachesAField)
{
    // References become characters; a character without a code page 932
    // form "?", a control character a space; the site's own space
    // references stay spaces; what is no reference stays.
    EXPECT_EQ(U(NormalizeCsvValue(S("A&amp;B &lt;b&gt; &quot;x&quot; a&nbsp;b &AMP;lt;"))),
              "A&B <b> \"x\" a b &lt;");
    EXPECT_EQ(U(NormalizeCsvValue(S("&#12354;&#x3042;&#x1F600;&#10;z&#0;&#xD800;"))), "ああ? z ?");
    EXPECT_EQ(U(NormalizeCsvValue(S("(&#x28;1&#40;2&#xa0;3)"))), "( 1(2 3)");
    EXPECT_EQ(U(NormalizeCsvValue(S("& &; &#; &#x; &#12a; &bogus; &#99999999999; 株&式"))),
              "& &; &#; &#x; &#12a; &bogus; &#99999999999; 株&式");

    // A tag broken over lines, a comment, a script and a button leave
    // nothing behind; a "<" that opens no tag is text.
    const JobRecord record =
        ScanAnyIndustry("<form><input type=\"hidden\" id=\"ID_kjhyoKjKbn\"\n name=\"k\" value=\"1\"></form>"
                        "<table>\n<tr><th>求人番号</th><td><div>1</div></td></tr>\n"
                        "<tr><th>選考場所</th><td><div>東京都<button type=\"button\"\n  class=\"map\"\n>地図"
                        "</button><!-- <div>x</div> --><script>if (a < b) document.write('<b>');</script>"
                        "</div></td></tr><tr><th>学歴</th><td>a < b</td></tr></table>")
            .record;
    EXPECT_EQ(U(record[83]), "東京都");
    EXPECT_EQ(U(record[63]), "a < b");
}

TEST(DetailPageReading, MalformedPagesGiveADefinedReading)
{
    EXPECT_EQ(ScanDetailPage("", {}).record, JobRecord{});
    const std::string form = "<form><input id=\"ID_kjhyoKjKbn\" name=\"k\" value=\"1\"></form><table>";
    // A NUL byte ends the page; bytes that are not UTF-8 are left out, the
    // text around them stays.
    EXPECT_EQ(U(ScanDetailPage(form + std::string("<tr><th>職種</th><td>事務\0<b>x", 32), {}).record[17]), "事務");
    EXPECT_EQ(U(ScanDetailPage(form + "<tr><th>職種</th><td>事\xFF\xC3務</td></tr>", {}).record[17]), "事務");
    // A tag cut off at the end of a page that broke off is not completed.
    EXPECT_EQ(U(ScanDetailPage(form + "<tr><th>職種</th><td>事務<a href=\"x", {}).record[17]), "事務");
    // Nesting deeper than any stack holds: the parser gives up on what lies
    // too deep, the rows before it are read.
    std::string deep = form + "<tr><th>職種</th><td>事務</td></tr><tr><th>学歴</th><td>";
    for (int i = 0; i < 100000; ++i)
        deep += "<div>";
    EXPECT_EQ(U(ScanDetailPage(deep + "不問", {}).record[17]), "事務");
}
