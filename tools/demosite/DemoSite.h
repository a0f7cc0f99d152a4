#pragma once
// A local stand-in for the job-search site on 127.0.0.1: the search screen
// (which sets the session cookie), the search post, the pager and the detail
// pages, over a set of generated postings that may grow from one search to
// the next.

#include "DemoFaults.h"
#include "DemoLayout.h"
#include "DemoPosting.h"
#include "DemoQuery.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kenmori {

struct DemoSiteOptions {
    int postingCount = 300; // kept within 0 .. kMaxPostings
    // The one job-seeker number the site knows; any other one named in a
    // search answers the error box.
    std::string knownJobSeekerNumber = "13010-1234567";

    // Told "METHOD target" of every request, from the server's threads.
    std::function<void(const std::string&)> requestLog;

    // One kind of fault for a share of the requests named by faultTargets
    // (DemoFaultTarget bits); which ones is drawn from faultSeed, so the same
    // requests fault in every run. The search screen and the posting sheet
    // never fault.
    DemoFault fault = DemoFault::None;
    double faultShare = 0.0; // 0 .. 1
    std::uint64_t faultSeed = 1;
    int faultTargets = kDemoFaultAnyPage;
    // Body bytes sent before a reset, a cut or a stall; below 0 half the body.
    // At least one byte is always held back.
    long faultKeptBytes = -1;
    // A stalled or trickling answer ends by itself after this long.
    int stallLimitMs = 30000;
    // A trickling answer sends one byte this often.
    int trickleIntervalMs = 200;
    // The fault strikes only the first this many requests for each page (a
    // page that fails once, then comes); 0: every request the draw picks.
    int faultAttempts = 0;

    // The line layout of every page sent.
    DemoLayout layout = DemoLayout::Today;
    // Postings a result page shows.
    int pageSize = 50;
    // Detail links as the site's saved pages have them ("http://host/kensaku/
    // GECA110010.do?..."), or relative ("./GECA110010.do?...").
    bool relativeLinks = false;

    // Told the body of every search post (not the pager's), from the
    // server's threads.
    std::function<void(const std::string&)> searchBodyLog = nullptr;

    // Postings that every search after the site's first adds (the next ones
    // by index, listed after the others), as the real site gains postings
    // between daily runs; the total stays within kMaxPostings. Pager posts
    // add none.
    int addPerSearch = 0;

    static constexpr int kMaxPostings = 100000;
};

class DemoSite {
public:
    explicit DemoSite(DemoSiteOptions options = {});
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Listens on 127.0.0.1:port (0: any free port) on a thread of its own;
    // false when the port cannot be bound or the site already runs.
    bool start(int port = 0);
    // Stops listening and waits for the thread; the site may start again.
    void stop();
    bool running() const;
    int port() const;                // 0 when not running
    std::string baseAddress() const; // "http://127.0.0.1:<port>"

    // Postings never move once made, so pointers and references to them stay
    // good while the site grows; read the container itself only while no
    // search is being answered.
    const std::deque<DemoPosting>& postings() const { return m_postings; }
    const DemoPosting* findPosting(std::string_view jobNumber) const;
    // The postings a search with these conditions lists now, in list order.
    std::vector<const DemoPosting*> matching(const DemoQuery& query) const;

    // The detail page's address as the product builds it from the list.
    std::string detailUrl(const DemoPosting& posting) const;
    // Every CSV field of the posting as the product must write it (UTF-8),
    // the posting-sheet and page addresses under this site's address.
    DemoFields expectedFields(const DemoPosting& posting) const;

    // Whether the chosen fault strikes the attempt-th request (from 1) since
    // the site was made for the posting's detail page, or for list page
    // `page` (1 is the search itself, 2 on the pager).
    bool faultStrikesDetail(const DemoPosting& posting, int attempt) const;
    bool faultStrikesListPage(int page, int attempt) const;

private:
    bool faultStrikes(int target, const std::string& key, int attempt) const;
    // Makes the next `count` postings by index, up to kMaxPostings in all.
    void addPostings(int count);

    struct Server;
    std::unique_ptr<Server> m_server;
    DemoSiteOptions m_options;
    std::mutex m_growing; // one addPostings at a time
    // Guards the two containers below against the server's threads while
    // they grow; the postings themselves never change once made.
    mutable std::mutex m_postingsMutex;
    std::deque<DemoPosting> m_postings;
    std::unordered_map<std::string, size_t> m_byJobNumber;
};

} // namespace kenmori
