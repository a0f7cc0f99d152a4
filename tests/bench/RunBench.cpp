// Whole runs of kenmori-cli against the demonstration site with every pause
// at zero: postings per second and the program's peak memory, for runs of
// several sizes (100 and 1000 postings unless sizes are given). Exits 1 when
// a run fails or the largest run needs more than kFlatMegabytes above the
// smallest.
//
//   kenmori_run_bench [POSTINGS ...]
//
// The peak is read by a fresh copy of this program started as
//   kenmori_run_bench --peak-of PROGRAM ARGUMENTS...
// which runs the program and prints its exit status and peak memory. A child
// started straight from here would be charged this process's own peak (the
// site with all its postings), since Linux counts the memory a process had
// before exec into its peak.

#include "DemoSite.h"
#include "run/SearchRequest.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace kenmori;

extern char** environ;

static constexpr double kFlatMegabytes = 4.0;

struct RunFigures {
    int postings = 0; // lines the run wrote
    double seconds = 0;
    double peakMegabytes = 0;
    bool succeeded = false;
};

// The smallest site whose whole search lists exactly `postings` postings.
static int SiteSizeFor(int postings)
{
    DemoSiteOptions options;
    options.postingCount = postings * 2 + 100;
    const DemoSite probe(options);
    const auto hits = probe.matching(ParseSearchBody(BuildSearchRequestBody(SearchConditions{})));
    if (postings <= 0 || hits.size() < static_cast<size_t>(postings))
        return postings;
    return hits[static_cast<size_t>(postings) - 1]->index + 1;
}

static int CsvDataLineCount(const std::filesystem::path& csv)
{
    std::ifstream in(csv, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    int lines = 0;
    for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
        ++lines;
    return lines > 0 ? lines - 1 : 0; // the header
}

static pid_t Spawn(std::vector<std::string> arguments, int standardOutput)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, standardOutput, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

// --peak-of: runs the program, prints "<exit status> <peak kilobytes>".
static int ReportPeakOf(int argc, char* argv[])
{
    const pid_t child = Spawn(std::vector<std::string>(argv, argv + argc), -1);
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child)
        return 1;
    std::printf("%d %ld\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss);
    return 0;
}

static RunFigures MeasureRun(int postings, const std::filesystem::path& folder)
{
    RunFigures figures;
    DemoSiteOptions options;
    options.postingCount = SiteSizeFor(postings);
    DemoSite site(options);
    if (!site.start()) {
        std::fprintf(stderr, "The demonstration site did not start.\n");
        return figures;
    }
    const std::filesystem::path settings = folder / "bench.ini";
    const std::filesystem::path csv = folder / "bench.csv";
    std::ofstream(settings, std::ios::binary) << "[Config]\r\nJobList=" << std::string(kOutputFieldCount, '1')
                                              << "\r\n[Site]\r\nBaseAddress=" << site.baseAddress() << "\r\n";

    int report[2];
    if (::pipe(report) != 0)
        return figures;
    const auto start = std::chrono::steady_clock::now();
    const pid_t measurer = Spawn({std::filesystem::read_symlink("/proc/self/exe").string(), "--peak-of",
                                  KENMORI_CLI_PATH, "--settings", settings.string(), "--output", csv.string(),
                                  "--pacing-ms", "0"},
                                 report[1]);
    ::close(report[1]);
    std::string text;
    char buffer[64];
    for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    ::close(report[0]);
    int ignored = 0;
    if (measurer > 0)
        ::waitpid(measurer, &ignored, 0);
    figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    int exitStatus = -1;
    long peakKilobytes = 0;
    if (std::sscanf(text.c_str(), "%d %ld", &exitStatus, &peakKilobytes) != 2)
        std::fprintf(stderr, "Cannot start %s.\n", KENMORI_CLI_PATH);
    figures.peakMegabytes = static_cast<double>(peakKilobytes) / 1024.0;
    figures.postings = CsvDataLineCount(csv);
    figures.succeeded = exitStatus == 0 && figures.postings == postings;
    if (!figures.succeeded)
        std::fprintf(stderr, "The run of %d postings ended with status %d after %d lines.\n", postings, exitStatus,
                     figures.postings);
    return figures;
}

int main(int argc, char* argv[])
{
    if (argc > 2 && std::string(argv[1]) == "--peak-of")
        return ReportPeakOf(argc - 2, argv + 2);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > DemoSiteOptions::kMaxPostings / 2) {
            std::fprintf(stderr, "Usage: kenmori_run_bench [POSTINGS ...]\n");
            return 2;
        }
        sizes.push_back(size);
    }
    if (sizes.empty())
        sizes = {100, 1000};

    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error)
        / ("kenmori_run_bench." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder, error);

    std::printf("%-10s %10s %12s %14s\n", "postings", "seconds", "postings/s", "peak memory");
    bool allSucceeded = true;
    std::vector<RunFigures> runs;
    for (const int size : sizes) {
        const RunFigures figures = MeasureRun(size, folder);
        allSucceeded = allSucceeded && figures.succeeded;
        runs.push_back(figures);
        std::printf("%-10d %10.2f %12.1f %11.1f MB\n", figures.postings, figures.seconds,
                    figures.seconds > 0 ? figures.postings / figures.seconds : 0.0, figures.peakMegabytes);
        std::fflush(stdout);
    }
    std::filesystem::remove_all(folder, error);

    bool flat = true;
    if (runs.size() > 1) {
        const double growth = runs.back().peakMegabytes - runs.front().peakMegabytes;
        flat = growth <= kFlatMegabytes;
        std::printf("Peak memory from %d to %d postings: %+.1f MB (%s, limit %.0f MB)\n", runs.front().postings,
                    runs.back().postings, growth, flat ? "flat" : "GROWING", kFlatMegabytes);
    }
    return allSucceeded && flat ? 0 : 1;
}
