// kenmori-demo-site: serves the demonstration site on 127.0.0.1 until it is
// interrupted (SIGINT or SIGTERM).

#include "DemoSite.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

using namespace kenmori;

namespace {

void PrintUsage(std::ostream& out)
{
    out << "Usage: kenmori-demo-site [--port N] [--postings N] [--add N] [--quiet] [fault options]\n"
           "  --port N      port on 127.0.0.1 (default 8080; 0 picks a free one)\n"
           "  --postings N  number of postings (default 300, at most "
        << DemoSiteOptions::kMaxPostings
        << ")\n"
           "  --add N       every search after the first adds N new postings, listed\n"
           "                after the others (default 0: the postings never change)\n"
           "  --quiet       do not list the requests\n"
           "  --layout L    today (default) or spread: every page re-laid as an HTML\n"
           "                formatter would (indented, one element a line)\n"
           "  --page-size N postings a result page shows (default 50)\n"
           "  --links L     absolute (default: http://host/kensaku/GECA110010.do?...)\n"
           "                or relative (./GECA110010.do?...) detail links\n"
           "Fault options (one kind of fault for a share of the requests):\n"
           "  --fault KIND            none, 500, reset, cut, stall, bad-utf8, huge (a 5 MB page)\n"
           "                          repeat (the pager answers the page before),\n"
           "                          trickle (a byte at a time), giant (a 50 MB page) or\n"
           "                          no-list (the search screen instead of a list page)\n"
           "  --fault-share X         share of the requests that fault, 0 to 1 (default 0.2)\n"
           "  --fault-seed N          seed of the draw; the same seed faults the same requests\n"
           "  --fault-on LIST         search,pager,detail (default all three)\n"
           "  --fault-kept-bytes N    body bytes sent before a reset, cut or stall (default half)\n"
           "  --stall-limit-ms N      a stalled or trickling answer ends after this (default 30000)\n"
           "  --fault-attempts N      strike only the first N requests for each page (default 0: all)\n";
}

// A whole decimal number within [low, high], else false.
bool ReadNumber(std::string_view text, int low, int high, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    value = std::stoi(std::string(text));
    return value >= low && value <= high;
}

// A decimal fraction within [0, 1], else false.
bool ReadShare(std::string_view text, double& value)
{
    double read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc() || end != text.data() + text.size() || !(read >= 0.0 && read <= 1.0))
        return false;
    value = read;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    int port = 8080;
    DemoSiteOptions options;
    int number = 0;
    bool quiet = false;
    bool shareGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--port" && hasValue && ReadNumber(argv[i + 1], 0, 65535, port)) {
            ++i;
        } else if (argument == "--postings" && hasValue
                   && ReadNumber(argv[i + 1], 0, DemoSiteOptions::kMaxPostings, options.postingCount)) {
            ++i;
        } else if (argument == "--add" && hasValue
                   && ReadNumber(argv[i + 1], 0, DemoSiteOptions::kMaxPostings, options.addPerSearch)) {
            ++i;
        } else if (argument == "--fault" && hasValue && DemoFaultFromName(argv[i + 1])) {
            options.fault = *DemoFaultFromName(argv[++i]);
        } else if (argument == "--fault-share" && hasValue && ReadShare(argv[i + 1], options.faultShare)) {
            shareGiven = true;
            ++i;
        } else if (argument == "--fault-seed" && hasValue && ReadNumber(argv[i + 1], 0, 999999999, number)) {
            options.faultSeed = static_cast<std::uint64_t>(number);
            ++i;
        } else if (argument == "--fault-on" && hasValue && DemoFaultTargetsFromNames(argv[i + 1])) {
            options.faultTargets = *DemoFaultTargetsFromNames(argv[++i]);
        } else if (argument == "--fault-kept-bytes" && hasValue && ReadNumber(argv[i + 1], 0, 999999999, number)) {
            options.faultKeptBytes = number;
            ++i;
        } else if (argument == "--stall-limit-ms" && hasValue && ReadNumber(argv[i + 1], 0, 999999999, number)) {
            options.stallLimitMs = number;
            ++i;
        } else if (argument == "--page-size" && hasValue && ReadNumber(argv[i + 1], 1, 1000, options.pageSize)) {
            ++i;
        } else if (argument == "--links" && hasValue
                   && (std::string_view(argv[i + 1]) == "absolute"
                       || std::string_view(argv[i + 1]) == "relative")) {
            options.relativeLinks = std::string_view(argv[++i]) == "relative";
        } else if (argument == "--layout" && hasValue && DemoLayoutFromName(argv[i + 1])) {
            options.layout = *DemoLayoutFromName(argv[++i]);
        } else if (argument == "--fault-attempts" && hasValue
                   && ReadNumber(argv[i + 1], 0, 999999999, options.faultAttempts)) {
            ++i;
        } else if (argument == "--quiet") {
            quiet = true;
        } else if (argument == "--help" || argument == "-h") {
            PrintUsage(std::cout);
            return 0;
        } else {
            std::cerr << "kenmori-demo-site: bad argument: " << argument << "\n";
            PrintUsage(std::cerr);
            return 2;
        }
    }
    if (options.fault != DemoFault::None && !shareGiven)
        options.faultShare = 0.2;
    if (!quiet)
        options.requestLog = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };

    // Every thread started from here on inherits the blocked signals, so the
    // main thread alone receives them through sigwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DemoSite site(options);
    // Read before the server's threads can make the site grow.
    const size_t postingCount = site.postings().size();
    if (!site.start(port)) {
        std::cerr << "kenmori-demo-site: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << site.baseAddress() << std::endl;
    std::cerr << "Serving " << postingCount << " postings; search page " << site.baseAddress()
              << "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010\n";
    if (options.addPerSearch > 0)
        std::cerr << "Every search after the first adds " << options.addPerSearch << " postings\n";
    if (options.fault != DemoFault::None)
        std::cerr << "Fault \"" << DemoFaultName(options.fault) << "\" for a share of " << options.faultShare
                  << " of the requests, seed " << options.faultSeed << "\n";

    int received = 0;
    sigwait(&stopSignals, &received);
    site.stop();
    std::cerr << "Stopped.\n";
    return 0;
}
