#include "DemoFaults.h"

#include <array>
#include <cstdio>
#include <utility>

namespace kenmori {

static constexpr std::array<std::pair<DemoFault, std::string_view>, 11> kFaultNames{{
    {DemoFault::None, "none"},
    {DemoFault::ServerError, "500"},
    {DemoFault::ConnectionReset, "reset"},
    {DemoFault::CutShort, "cut"},
    {DemoFault::Stall, "stall"},
    {DemoFault::InvalidUtf8, "bad-utf8"},
    {DemoFault::HugePage, "huge"},
    {DemoFault::RepeatedListPage, "repeat"},
    {DemoFault::Trickle, "trickle"},
    {DemoFault::GiantPage, "giant"},
    {DemoFault::NoList, "no-list"},
}};

// FNV-1a: small, and the same on every platform, unlike std::hash.
static std::uint64_t Fnv1a(std::uint64_t hash, std::string_view bytes)
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// The splitmix64 finaliser spreads keys that differ in one byte.
static std::uint64_t Mix(std::uint64_t x)
{
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Malformed forms a decoder must survive; none of them is "<" or ">".
static constexpr std::string_view kMalformed =
    "\x80\xBF \xC0\xAF \xED\xA0\x80 \xFE\xFF \xF8\x88\x80\x80\x80 \xE3\x81";

std::optional<DemoFault> DemoFaultFromName(std::string_view name)
{
    for (const auto& [fault, text] : kFaultNames) {
        if (text == name)
            return fault;
    }
    return std::nullopt;
}

std::string_view DemoFaultName(DemoFault fault)
{
    for (const auto& [known, text] : kFaultNames) {
        if (known == fault)
            return text;
    }
    return "none";
}

std::optional<int> DemoFaultTargetsFromNames(std::string_view names)
{
    int targets = 0;
    while (!names.empty()) {
        const size_t comma = names.find(',');
        const std::string_view word = names.substr(0, comma);
        if (word == "search")
            targets |= kDemoFaultSearch;
        else if (word == "pager")
            targets |= kDemoFaultPager;
        else if (word == "detail")
            targets |= kDemoFaultDetail;
        else
            return std::nullopt;
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    }
    return targets == 0 ? std::nullopt : std::optional<int>(targets);
}

bool DemoFaultStrikes(std::uint64_t seed, double share, std::string_view key, int attempt)
{
    if (!(share > 0.0))
        return false;
    if (share >= 1.0)
        return true;
    std::uint64_t hash = Fnv1a(0xcbf29ce484222325ULL, std::to_string(seed));
    hash = Fnv1a(hash, key);
    hash = Fnv1a(hash, "#" + std::to_string(attempt));
    const double draw = static_cast<double>(Mix(hash) >> 11) * 0x1.0p-53; // [0, 1)
    return draw < share;
}

std::string ServerErrorPage()
{
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n"
           "<title>システムエラー</title>\n</head>\n<body>\n"
           "<h1>500 Internal Server Error</h1>\n"
           "<p class=\"msg_E\">システムエラーが発生しました。時間をおいて再度お試しください。</p>\n"
           "</body>\n</html>\n";
}

std::string PaddedPage(std::string html, std::size_t bytes)
{
    if (html.size() >= bytes)
        return html;
    std::string filler = "<script>\n";
    const std::string_view closing = "</script>\n";
    const std::string text(80, 'x');
    char line[160];
    for (long number = 0; html.size() + filler.size() + closing.size() < bytes; ++number) {
        std::snprintf(line, sizeof line, "var pad%07ld = \"%s\";\n", number, text.c_str());
        filler += line;
    }
    filler += closing;
    const size_t head = html.find("</head>");
    html.insert(head == std::string::npos ? html.size() : head, filler);
    return html;
}

std::string WithInvalidUtf8(std::string html)
{
    const std::string notice = "<p class=\"notice\">お知らせ " + std::string(kMalformed) + " 以上</p>\n<!-- "
        + std::string(kMalformed) + " -->\n";
    const size_t body = html.find("<body>\n");
    if (body != std::string::npos)
        html.insert(body + 7, notice);

    // A detail page's rows above its form are read but give nothing.
    size_t form = html.find("<form");
    const std::string_view row = "\n<th";
    for (size_t at = html.find(row); at != std::string::npos && at < form; at = html.find(row, at + 1)) {
        const size_t end = html.find('\n', at + 1);
        if (end == std::string::npos)
            break;
        html.insert(end, kMalformed);
        if (form != std::string::npos)
            form += kMalformed.size();
    }
    html += kMalformed.substr(kMalformed.size() - 2); // a character cut short, no line end
    return html;
}

} // namespace kenmori
