#pragma once
// The site's screens, as paths below its base address.

#include <string_view>

namespace kenmori {

// The search screen and, with action=dispDetailBtn, a posting's detail page;
// also where the older pager posts.
inline constexpr std::string_view kDetailScreenPath = "/kensaku/GECA110010.do";
// Where the search form, and the result list's own form, post.
inline constexpr std::string_view kResultListPath = "/kensaku/GECA110030.do";
// The printable posting sheet.
inline constexpr std::string_view kPostingSheetPath = "/kensaku/GECA110020.do";

} // namespace kenmori
