#pragma once
// Shared pieces of the worker tests: a host that records what the worker
// told it, and the CSV's data lines read back.

#include "text/CodePage932.h"
#include "support/FakeListSite.h"
#include "support/TestEnvironment.h"
#include "run/RunHost.h"

#include <QThread>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace kenmori {

struct ProgressStep {
    int position;
    int total;
    std::string text; // UTF-8

    bool operator==(const ProgressStep&) const = default;
};

class RecordingHost : public RunHost {
public:
    std::vector<int> resets;
    std::vector<ProgressStep> steps;
    std::vector<QThread*> callThreads; // the thread of every call
    std::function<void(int position)> onStep;

    void resetProgress(int total) override
    {
        callThreads.push_back(QThread::currentThread());
        resets.push_back(total);
    }
    void stepProgress(int position, int total, const std::string& statusText) override
    {
        callThreads.push_back(QThread::currentThread());
        steps.push_back({position, total, ShiftJisToUtf8(statusText)});
        if (onStep)
            onStep(position);
    }
    std::string lookupIndustryCategory(const std::string&) override
    {
        callThreads.push_back(QThread::currentThread());
        return {};
    }
};

// The CSV's lines after the header, without their CR LF; a file that is not
// made of CR LF lines gives one line "<not CR LF>".
inline std::vector<std::string> CsvDataLines(const std::filesystem::path& path)
{
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::string> lines;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos)
            return {"<not CR LF>"};
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    if (!lines.empty())
        lines.erase(lines.begin());
    return lines;
}

// "\"13010-00000001\"" ... for postings first..last, as a CSV with only the
// job-number field ticked holds them.
inline std::vector<std::string> QuotedJobNumbers(int first, int last)
{
    std::vector<std::string> lines;
    for (int posting = first; posting <= last; ++posting)
        lines.push_back("\"" + FakeListSite::jobNumber(posting) + "\"");
    return lines;
}

} // namespace kenmori
