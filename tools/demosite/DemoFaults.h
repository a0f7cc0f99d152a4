#pragma once
// The faults the demonstration site can put into its answers, so that runs
// against it meet a misbehaving site: which request a fault strikes (a
// repeatable draw from a seed) and what the faulty pages look like.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kenmori {

enum class DemoFault {
    None,
    ServerError,      // status 500 with an HTML error page
    ConnectionReset,  // part of the body, then a TCP reset
    CutShort,         // the whole length announced, part of the body, then a clean close
    Stall,            // part of the body, then silence until the client gives up
    InvalidUtf8,      // malformed UTF-8 bytes inside the page
    HugePage,         // the page padded to kDemoHugePageBytes
    RepeatedListPage, // a pager request answers the page before the one asked for
    Trickle,          // the body one byte at a time, slowly, until the client gives up
    GiantPage,        // the page padded to kDemoGiantPageBytes
    NoList,           // the search screen instead of the list page asked for
};

// The requests a fault may strike, as bits.
enum DemoFaultTarget {
    kDemoFaultSearch = 1, // the search post (list page 1)
    kDemoFaultPager = 2,  // the pager's posts (list pages 2 on)
    kDemoFaultDetail = 4, // detail pages
    kDemoFaultAnyPage = 7,
};

inline constexpr std::size_t kDemoHugePageBytes = 5 * 1024 * 1024;
inline constexpr std::size_t kDemoGiantPageBytes = 50 * 1024 * 1024;

// Names for the command line: none, 500, reset, cut, stall, bad-utf8, huge,
// repeat, trickle, giant, no-list.
std::optional<DemoFault> DemoFaultFromName(std::string_view name);
std::string_view DemoFaultName(DemoFault fault);

// "search,pager,detail" (any of them, in any order) to target bits; nullopt
// for an unknown word or an empty list.
std::optional<int> DemoFaultTargetsFromNames(std::string_view names);

// Whether a fault with this share (0 none .. 1 every one) strikes the
// attempt-th request (from 1) for key. The same inputs give the same answer
// in every process, so runs are repeatable.
bool DemoFaultStrikes(std::uint64_t seed, double share, std::string_view key, int attempt);

// The answer of a site that failed inside.
std::string ServerErrorPage();

// html grown to at least bytes by a script block of filler lines in its head
// (at its end when there is no head); lines the product reads stay as they were.
std::string PaddedPage(std::string html, std::size_t bytes);

// html with malformed UTF-8 (stray continuation bytes, overlong and surrogate
// forms, bytes that UTF-8 never uses, a character cut short) in lines that
// carry nothing the product takes from the page: a notice paragraph and a
// comment at the top of the body, the rows above a detail page's form, and an
// unfinished character after the last line.
std::string WithInvalidUtf8(std::string html);

} // namespace kenmori
