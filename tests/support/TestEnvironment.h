#pragma once
// Small pieces most tests need: requests that go straight to the test's own
// loopback server, runs that do not pause, and files read and written whole.

#include "site/SiteConfig.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// A proxy set in the environment would take the tests' requests elsewhere.
inline void ClearProxyEnvironment()
{
    for (const char* name : {"http_proxy", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
        qunsetenv(name);
}

// The event loop that a run session or kenmori-cli reports through, for a
// GoogleTest program that has none of its own.
inline void EnsureCoreApplication()
{
    static int argc = 1;
    static char name[] = "kenmori_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Pauses are for the real site; the tests' own servers need none.
inline RunPacing NoPauses()
{
    return RunPacing{std::chrono::milliseconds(0), std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                     std::chrono::milliseconds(0)};
}

// The test's own site on this machine, without pauses.
inline SiteConfig LocalSite(std::string baseAddress)
{
    SiteConfig site = SiteConfigFor(std::move(baseAddress));
    site.pacing = NoPauses();
    return site;
}

inline std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The text's lines, split at CR LF, a lone CR or a lone LF.
inline std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        lines.emplace_back(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

} // namespace kenmori
