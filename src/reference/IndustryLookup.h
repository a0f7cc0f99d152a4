#pragma once
// Finds the industry classification of a posting from the group name that its
// detail page shows under "産業分類". Runs on the thread that owns the
// database: the run session opens its own.

#include <string>
#include <string_view>

namespace kenmori {

class ReferenceDatabase;

// industryName: code page 932, trimmed, "，" already written "、".
// Gives "Ctgr1Name,Ctgr2Code,Ctgr2Name,Ctgr3Code" (code page 932) of the group
// whose name equals industryName, else of the first group by code whose name
// contains it literally; empty when none does or industryName is empty.
// A database error gives the empty text and sets errorText (empty otherwise).
std::string LookupIndustryCategory(ReferenceDatabase& database, std::string_view industryName,
                                   std::string& errorText);

} // namespace kenmori
