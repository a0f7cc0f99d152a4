#pragma once
// The run log: what one run asked of the site and what came of it, so that a
// run that found nothing can be told from one that could not read the site's
// answer. Plain UTF-8 lines, appended as they happen; the file keeps the last
// few runs. The job-seeker number never goes in.

#include "run/RunRecords.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace kenmori {

struct FetchResult;

inline constexpr int kRunLogKeptRuns = 5;

class RunLog {
public:
    // logFile receives the lines; a list page that could not be read is
    // copied to unreadPageFile.
    RunLog(std::filesystem::path logFile, std::filesystem::path unreadPageFile);

    // Starts a run's section: the file keeps its last kRunLogKeptRuns - 1
    // runs before it. False when the file cannot be written; the run goes on
    // without a log.
    bool begin(std::chrono::system_clock::time_point startTime, const SearchConditions& conditions);

    void line(std::string_view text);
    // "GET /kensaku/GECA110010.do 200 104857 bytes 85 ms" (no query).
    void request(std::string_view method, std::string_view url, const FetchResult& result);
    // A list page the run could not go on from (the first without a count or
    // an error box, a later one that is no list): what it held said, and the
    // page kept for a look.
    void keepListPage(const std::filesystem::path& pageFile, std::string_view what);

    const std::filesystem::path& file() const { return m_file; }

private:
    std::mutex m_mutex;
    std::filesystem::path m_file;
    std::filesystem::path m_unreadPageFile;
    std::ofstream m_out;
};

// "Region1=13 Region2=0 ..." for the log; texts as UTF-8, no job-seeker number.
std::string ConditionsLogText(const SearchConditions& conditions);

// The path of an address without scheme, host or query.
std::string PathWithoutQuery(std::string_view url);

} // namespace kenmori
