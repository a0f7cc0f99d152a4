#pragma once
// A small, adjustable job-search site for the worker tests: the search, the
// pager and a detail page per posting, in the markup the worker reads. Set
// the public fields before a run starts.

#include "support/LocalHttpServer.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kenmori {

class FakeListSite {
public:
    int totalCount = 0;    // the count line's number
    int postingCount = -1; // postings listed over all pages; -1: totalCount
    std::string countText; // shown instead of totalCount when set ("1,234")
    bool showCount = true;
    bool unknownJobSeeker = false;
    bool repeatFirstPage = false;   // the pager answers page 1 whatever it is asked
    std::function<void()> onSearch; // runs as the search arrives
    std::function<void()> onDetail; // runs as a detail page is asked for

    // The pager count the pages carry; not the usual 7, so that a test sees
    // it taken from the page.
    static constexpr int kNaviCount = 5;

    FakeListSite()
    {
        server.get("/kensaku/GECA110010.do", [this](const httplib::Request& request, httplib::Response& response) {
            if (onDetail && request.has_param("kJNo"))
                onDetail();
            response.set_content(detailPage(request.get_param_value("kJNo")), "text/html; charset=UTF-8");
        });
        server.post("/kensaku/GECA110030.do", [this](const httplib::Request&, httplib::Response& response) {
            if (onSearch)
                onSearch();
            response.set_content(listPage(1), "text/html; charset=UTF-8");
        });
        server.post("/kensaku/GECA110010.do",
                    [this](const httplib::Request& request, httplib::Response& response) {
                        const auto at = request.body.find("&fwListNaviBtn1=");
                        const int wanted = at == std::string::npos ? 0 : std::atoi(request.body.c_str() + at + 16);
                        response.set_content(listPage(repeatFirstPage ? 1 : wanted), "text/html; charset=UTF-8");
                    });
    }

    std::string baseAddress() const { return server.baseAddress(); }

    static std::string jobNumber(int posting)
    {
        char text[32];
        std::snprintf(text, sizeof text, "13010-%08d", posting);
        return text;
    }

    std::string listPage(int page) const
    {
        std::string html = "<html>\n<body>\n<form name=\"listForm\">\n";
        if (unknownJobSeeker)
            html += "<p class=\"msg_E\">入力された求職番号は存在しません。</p>\n";
        else if (showCount)
            html += "<p class=\"fs13 numberJobText_layout\"><span class=\"fb\">"
                + (countText.empty() ? std::to_string(totalCount) : countText) + "</span>件中 1～30件を表示</p>\n";
        html += "<input type=\"hidden\" name=\"fwListNowPage\" value=\"" + std::to_string(page)
            + "\">\n"
              "<input type=\"hidden\" name=\"fwListNaviCount\" value=\""
            + std::to_string(kNaviCount) + "\">\n";
        const int last = std::min(page * 30, postingCount < 0 ? totalCount : postingCount);
        for (int posting = (page - 1) * 30 + 1; page >= 1 && posting <= last; ++posting)
            html += "<a class=\"button\" id=\"ID_dispDetailBtn\" href=\"./GECA110010.do?screenId=GECA110010"
                    "&amp;action=dispDetailBtn&amp;kJNo="
                + jobNumber(posting) + "&amp;kJKbn=1\" target=\"_blank\">詳細を表示</a>\n";
        return html + "</form>\n</body>\n</html>\n";
    }

    static std::string detailPage(const std::string& jobNumber)
    {
        return "<form name=\"detailForm\" action=\"/kensaku/GECA110020.do\" method=\"post\">\n"
               "<input type=\"hidden\" name=\"kjhyoKjKbn\" value=\"1\" id=\"ID_kjhyoKjKbn\">\n</form>\n"
               "<table class=\"normal\">\n<tr>\n"
               "<th class=\"fb\">求人番号</th><td><div id=\"ID_kjNo\">"
            + jobNumber + "</div></td></tr>\n<tr><th>産業分類</th><td>耕種農業</td></tr>\n</table>\n";
    }

    // The job numbers of the detail pages asked for, in order.
    std::vector<std::string> detailRequests() const
    {
        std::vector<std::string> numbers;
        for (const RecordedRequest& request : server.requests()) {
            const auto at = request.target.find("kJNo=");
            if (request.method == "GET" && at != std::string::npos)
                numbers.push_back(request.target.substr(at + 5, 14));
        }
        return numbers;
    }

    // The bodies of the pager requests, in order.
    std::vector<std::string> pagerBodies() const
    {
        std::vector<std::string> bodies;
        for (const RecordedRequest& request : server.requests()) {
            if (request.method == "POST" && request.path == "/kensaku/GECA110010.do")
                bodies.push_back(request.body);
        }
        return bodies;
    }

    LocalHttpServer server; // last: it stops before the fields its handlers read go away
};

} // namespace kenmori
