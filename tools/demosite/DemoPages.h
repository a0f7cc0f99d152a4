#pragma once
// The pages of the demonstration site other than the detail pages, in the
// markup that the product reads (UTF-8, one element a line).

#include "DemoPosting.h"

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// Postings a result page shows unless told otherwise, as the site does.
inline constexpr int kDemoDefaultPageSize = 50;
// fwListNaviCount: how many page buttons the pager is made for.
inline constexpr int kDemoPagerNaviCount = 5;

// One control of a result page's form: what a browser sends for it.
struct DemoFormField {
    std::string name;
    std::string value;
};

// How a result list is shown: its page size, where its detail links point,
// and the search it answers, whose conditions the page's form carries again.
struct DemoListView {
    int pageSize = kDemoDefaultPageSize;
    // What a detail link's "GECA110010.do?..." is put after: the site's
    // absolute "https://host/kensaku/" or a relative "./".
    std::string linkPrefix = "./";
    // The search's own fields, decoded, shown again as the form's controls.
    std::vector<DemoFormField> conditions;
    std::string token; // maba_vrbs, made for the session
};

// The search screen (answer to the warm-up visit); a browser can use it.
std::string SearchPage();

// Page `page` (from 1) of a result list of hits as the site shows it since
// 2026: one form holds the page, the pager is made of its submit buttons; a
// page past the end shows the count but no postings.
std::string ResultListPage(const std::vector<const DemoPosting*>& hits, int page, const DemoListView& view = {});

// What a browser sends for that page's form besides the pressed button: the
// site answers a pager request only when it carries every one of them.
std::vector<DemoFormField> ResultListFormFields(const std::vector<const DemoPosting*>& hits, int page,
                                                const DemoListView& view);

// A result-list page carrying only a message paragraph of the given class
// ("msg_E" error box, "msg_I" notice).
std::string ListMessagePage(std::string_view messageClass, std::string_view text);

// The detail page of a posting that no longer exists.
std::string DeletedPostingPage();

// The answer of an overloaded site: no posting in it.
std::string BusyPage();

// The printable posting sheet (a stand-in).
std::string PostingSheetPage(const DemoPosting* posting);

std::string NotFoundPage();

} // namespace kenmori
