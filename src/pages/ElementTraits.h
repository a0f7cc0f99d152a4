#pragma once
// What the layout step knows of an HTML element, by its lower-case name: how
// the layout writer places it, and how libxml2's HTML parser treats it (the
// quick reader of regular markup must know where the parser would repair).

#include <bitset>
#include <string_view>

// How the writer places an element.
enum ElementLayout : unsigned {
    kVoid = 1u << 0,        // no content: no end tag is written
    kStartsLine = 1u << 1,  // the start tag always begins a line
    kBlock = 1u << 2,       // begins a line unless it opens its parent's content or follows a sub-caption
    kOneLine = 1u << 3,     // written whole on one line: a label, a paragraph, a link
    kEndsOwnLine = 1u << 4, // a container whose end tag stands on a line of its own
    kCode = 1u << 5,        // the body is code, never page text
    kListItem = 1u << 6,    // p, li, dt, dd: a parent holding one holds blocks
    kCell = 1u << 7,        // td: begins a line unless it opens its row or follows a label
};

constexpr size_t kMaxClosingTags = 96;

struct ElementTraits {
    unsigned layout = 0;
    bool empty = false;                    // the parser gives it no content
    bool holdsWhatFollows = false;         // written as empty, but the parser lets it hold what follows it
    int closingIndex = -1;                 // its place among the start tags that close an open element
    std::bitset<kMaxClosingTags> closedBy; // the start tags that close it while it is the open element
};

const ElementTraits& TraitsOf(std::string_view name);

// Whether the parser closes the open element when this start tag arrives.
inline bool StartTagCloses(const ElementTraits& open, const ElementTraits& starting)
{
    return starting.closingIndex >= 0 && open.closedBy.test(static_cast<size_t>(starting.closingIndex));
}
