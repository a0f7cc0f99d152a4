// kenmori-demo-site: serves the demonstration site on 127.0.0.1 until it is
// interrupted (SIGINT or SIGTERM).

#include "DemoSite.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

void PrintUsage(std::ostream& out)
{
    out << "Usage: kenmori-demo-site [--port N] [--postings N] [--quiet]\n"
           "  --port N      port on 127.0.0.1 (default 8080; 0 picks a free one)\n"
           "  --postings N  number of postings (default 300, at most "
        << DemoSiteOptions::kMaxPostings << ")\n"
           "  --quiet       do not list the requests\n";
}

// A whole decimal number within [low, high], else false.
bool ReadNumber(std::string_view text, int low, int high, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    value = std::stoi(std::string(text));
    return value >= low && value <= high;
}

} // namespace

int main(int argc, char* argv[])
{
    int port = 8080;
    DemoSiteOptions options;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--port" && hasValue && ReadNumber(argv[i + 1], 0, 65535, port)) {
            ++i;
        } else if (argument == "--postings" && hasValue
                   && ReadNumber(argv[i + 1], 0, DemoSiteOptions::kMaxPostings, options.postingCount)) {
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
    if (!site.start(port)) {
        std::cerr << "kenmori-demo-site: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << site.baseAddress() << std::endl;
    std::cerr << "Serving " << site.postings().size() << " postings; search page "
              << site.baseAddress() << "/kensaku/GECA110010.do?action=initDisp&screenId=GECA110010\n";

    int received = 0;
    sigwait(&stopSignals, &received);
    site.stop();
    std::cerr << "Stopped.\n";
    return 0;
}
