#pragma once
// Everything a run needs to know of the site it talks to, carried as one
// value from the settings to every request: nothing of it is process-wide.

#include "site/CurlSession.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace kenmori {

inline constexpr std::string_view kSiteBaseAddress = "https://www.hellowork.mhlw.go.jp";

inline constexpr std::array<std::string_view, 5> kUserAgents{
    "Mozilla/5.0 (Windows NT 6.2; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/52.0.2743.116 Safari/537.36 Edge/15.15063",
    "Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/52.0.2743.116 Safari/537.36 Edge/15.15063",
    "Mozilla/5.0 (Windows NT 6.3; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/51.0.2704.79 Safari/537.36 Edge/14.14393",
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/64.0.3282.140 Safari/537.36 Edge/17.17134",
    "Mozilla/5.0 (Windows NT 5.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/58.0.3029.110 Safari/537.36 Edge/16.16299",
};

// Linear congruential generator whose state starts at 0 and is never seeded,
// so every start of the program sends the same sequence of agents.
struct AgentGenerator {
    std::uint32_t state = 0;

    // Index in 0..n-1 (0 when n < 1).
    int next(int n);
};

// The agents of one program start, drawn one per request from whichever
// thread sends it. The window keeps one for all its runs.
class AgentSequence {
public:
    // The agent of the next request.
    std::string_view draw();
    // A copy of the generator, to predict the next agents.
    AgentGenerator peek() const;

private:
    mutable std::mutex m_mutex;
    AgentGenerator m_generator;
};

// The pauses that keep a run gentle on the site.
struct RunPacing {
    std::chrono::milliseconds afterWarmUp{1000};
    std::chrono::milliseconds afterSearch{1000};
    std::chrono::milliseconds afterListPage{1000};
    std::chrono::milliseconds afterDetailPage{500};
};

// The wall clock that dates the run cookie.
using WallClock = std::function<std::chrono::system_clock::time_point()>;

struct SiteConfig {
    // Scheme, host and optional port, without a trailing slash.
    std::string baseAddress{kSiteBaseAddress};
    std::shared_ptr<AgentSequence> agents = std::make_shared<AgentSequence>();
    WallClock clock; // empty: the system clock
    TransferLimits limits;
    RunPacing pacing;
    std::chrono::milliseconds warmUpTimeLimit{10000};

    std::chrono::system_clock::time_point now() const;
};

// The configuration for another base address; a trailing slash is dropped
// and an empty address keeps the site's own.
SiteConfig SiteConfigFor(std::string baseAddress);

// Whether the address names this machine: 127.0.0.0/8, localhost or [::1].
bool IsLoopbackAddress(const std::string& address);

// The pacing a run may use: shortened pauses only against this machine, so
// that no setting can hammer the real site.
RunPacing EffectivePacing(const SiteConfig& site);

} // namespace kenmori
