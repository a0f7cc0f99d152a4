#pragma once
// Small pieces most tests need: requests that go straight to the test's own
// loopback server, runs that do not pause, and files read and written whole.

#include "run/RunPacing.h"

#include <QtGlobal>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A proxy set in the environment would take the tests' requests elsewhere.
inline void ClearProxyEnvironment()
{
    for (const char* name : {"http_proxy", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"})
        qunsetenv(name);
}

// Pauses are for the real site; the tests' own servers need none.
inline RunPacing NoPauses()
{
    return RunPacing{std::chrono::milliseconds(0), std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                     std::chrono::milliseconds(0)};
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
