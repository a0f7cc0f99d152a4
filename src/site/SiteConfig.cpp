#include "site/SiteConfig.h"

#include "text/TextUtils.h"

#include <algorithm>
#include <cstdio>

namespace kenmori {

int AgentGenerator::next(int n)
{
    state = state * 134775813u + 1u;
    if (n < 1)
        return 0;
    return static_cast<int>((std::uint64_t{state} * static_cast<std::uint64_t>(n)) >> 32);
}

std::string_view AgentSequence::draw()
{
    std::lock_guard lock(m_mutex);
    return kUserAgents[static_cast<std::size_t>(m_generator.next(static_cast<int>(kUserAgents.size())))];
}

AgentGenerator AgentSequence::peek() const
{
    std::lock_guard lock(m_mutex);
    return m_generator;
}

std::chrono::system_clock::time_point SiteConfig::now() const
{
    return clock ? clock() : std::chrono::system_clock::now();
}

SiteConfig SiteConfigFor(std::string baseAddress)
{
    while (baseAddress.ends_with('/'))
        baseAddress.pop_back();
    SiteConfig site;
    if (!baseAddress.empty())
        site.baseAddress = std::move(baseAddress);
    return site;
}

bool IsLoopbackAddress(const std::string& address)
{
    const std::string host = HostOfUrl(address);
    if (SameTextIgnoringCase(host, "localhost") || host == "::1")
        return true;
    unsigned parts[4];
    char end = 0;
    if (std::sscanf(host.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &end) != 4)
        return false;
    return parts[0] == 127 && parts[1] < 256 && parts[2] < 256 && parts[3] < 256;
}

RunPacing EffectivePacing(const SiteConfig& site)
{
    if (IsLoopbackAddress(site.baseAddress))
        return site.pacing;
    const RunPacing floor;
    return RunPacing{std::max(site.pacing.afterWarmUp, floor.afterWarmUp),
                     std::max(site.pacing.afterSearch, floor.afterSearch),
                     std::max(site.pacing.afterListPage, floor.afterListPage),
                     std::max(site.pacing.afterDetailPage, floor.afterDetailPage)};
}

} // namespace kenmori
