#include "pages/ElementTraits.h"

#include "text/TextUtils.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace {

// A small open-addressing table: the names are few and short, and every tag
// of a page is looked up, so neither a general map's hashing nor its
// division is worth paying for.
class TraitsTable {
public:
    TraitsTable();

    const ElementTraits* find(std::string_view name) const
    {
        for (size_t slot = hash(name) & (kSlots - 1);; slot = (slot + 1) & (kSlots - 1)) {
            const int index = m_slots[slot];
            if (index < 0)
                return nullptr;
            if (SameShortText(m_entries[static_cast<size_t>(index)].name, name))
                return &m_entries[static_cast<size_t>(index)].traits;
        }
    }

private:
    struct Entry {
        std::string_view name;
        ElementTraits traits;
    };
    static constexpr size_t kSlots = 512; // a power of two, far above the number of names

    // Names differ mostly in their length and their first and last letters:
    // a hash of those three spreads them well enough, at the cost of a few
    // instructions, and a rare collision costs a probe.
    static size_t hash(std::string_view name)
    {
        if (name.empty())
            return 0;
        const size_t first = static_cast<unsigned char>(name.front());
        const size_t last = static_cast<unsigned char>(name.back());
        return (first * 131 + last) * 17 + name.size() * 5;
    }

    ElementTraits& entry(std::string_view name)
    {
        size_t slot = hash(name) & (kSlots - 1);
        while (m_slots[slot] >= 0) {
            if (m_entries[static_cast<size_t>(m_slots[slot])].name == name)
                return m_entries[static_cast<size_t>(m_slots[slot])].traits;
            slot = (slot + 1) & (kSlots - 1);
        }
        m_slots[slot] = static_cast<std::int16_t>(m_entries.size());
        m_entries.push_back({name, {}});
        return m_entries.back().traits;
    }

    void mark(std::initializer_list<std::string_view> names, unsigned layout)
    {
        for (const std::string_view name : names)
            entry(name).layout |= layout;
    }

    void closes(std::string_view open, std::initializer_list<std::string_view> starting)
    {
        for (const std::string_view name : starting) {
            ElementTraits& closing = entry(name);
            if (closing.closingIndex < 0)
                closing.closingIndex = m_closingTags++;
            entry(open).closedBy.set(static_cast<size_t>(closing.closingIndex));
        }
    }

    std::array<std::int16_t, kSlots> m_slots;
    std::vector<Entry> m_entries;
    int m_closingTags = 0;
};

TraitsTable::TraitsTable()
{
    m_slots.fill(-1);
    m_entries.reserve(kSlots / 2);

    mark({"br", "input", "img", "meta", "link", "hr", "wbr", "area", "col", "base", "param", "source", "embed",
          "track"},
         kVoid);
    mark({"html",  "head",  "body", "meta", "link", "title", "form", "input", "table", "caption", "thead",
          "tbody", "tfoot", "tr",   "th",   "p",    "a",     "br",   "ul",    "ol",    "li",      "dl",
          "dt",    "dd",    "hr",   "h1",   "h2",   "h3",    "h4",   "h5",    "h6"},
         kStartsLine);
    mark({"div", "section", "article", "header", "footer", "nav", "main", "aside", "fieldset", "figure",
          "blockquote", "pre", "center", "address"},
         kBlock);
    mark({"p", "th", "a", "title", "caption", "option", "button", "h1", "h2", "h3", "h4", "h5", "h6"}, kOneLine);
    mark({"html", "head", "body", "form", "table", "thead", "tbody", "tfoot", "ul", "ol", "dl", "select"},
         kEndsOwnLine);
    mark({"script", "style"}, kCode);
    mark({"p", "li", "dt", "dd"}, kListItem);
    mark({"td"}, kCell);

    // What libxml2's parser knows to have no content; "wbr" and the like it
    // lets hold what follows them.
    for (const std::string_view name : {"area", "base", "basefont", "br", "col", "frame", "hr", "img", "input",
                                        "isindex", "link", "meta", "param"})
        entry(name).empty = true;
    for (const std::string_view name : {"wbr", "embed", "source", "track"})
        entry(name).holdsWhatFollows = true;

    // The start tags on which the parser closes an open element (a <div>
    // ends an open <p>, a <td> an open <td>).
    closes("a", {"a", "fieldset", "table", "td", "th"});
    closes("address", {"dd", "dl", "dt", "form", "li", "ul"});
    closes("b", {"center", "p", "td", "th"});
    closes("big", {"p"});
    closes("caption", {"col", "colgroup", "tbody", "tfoot", "thead", "tr"});
    closes("col", {"col", "colgroup", "tbody", "tfoot", "thead", "tr"});
    closes("colgroup", {"colgroup", "tbody", "tfoot", "thead", "tr"});
    closes("dd", {"dt"});
    closes("dir", {"dd", "dl", "dt", "form", "ul"});
    closes("dl", {"form", "li"});
    closes("dt", {"dd", "dl"});
    closes("font", {"center", "td", "th"});
    closes("form", {"form"});
    closes("h1", {"fieldset", "form", "li", "p", "table"});
    closes("h2", {"fieldset", "form", "li", "p", "table"});
    closes("h3", {"fieldset", "form", "li", "p", "table"});
    closes("h4", {"fieldset", "form", "li", "p", "table"});
    closes("h5", {"fieldset", "form", "li", "p", "table"});
    closes("h6", {"fieldset", "form", "li", "p", "table"});
    closes("head",
           {"a",        "abbr",  "acronym", "address",  "b",    "bdo",   "big",     "blockquote", "body",   "br",
            "center",   "cite",  "code",    "dd",       "dfn",  "dir",   "div",     "dl",         "dt",     "em",
            "fieldset", "font",  "form",    "frameset", "h1",   "h2",    "h3",      "h4",         "h5",     "h6",
            "hr",       "i",     "iframe",  "img",      "kbd",  "li",    "listing", "map",        "menu",   "ol",
            "p",        "pre",   "q",       "s",        "samp", "small", "span",    "strike",     "strong", "sub",
            "sup",      "table", "tt",      "u",        "ul",   "var",   "xmp"});
    closes("hr", {"form"});
    closes("i", {"center", "p", "td", "th"});
    closes("legend", {"fieldset"});
    closes("li", {"li"});
    closes("link", {"body", "frameset"});
    closes("listing", {"dd", "dl", "dt", "fieldset", "form", "li", "table", "ul"});
    closes("menu", {"dd", "dl", "dt", "form", "ul"});
    closes("ol", {"form", "ul"});
    closes("option", {"optgroup", "option"});
    closes("p",
           {"address", "blockquote", "body",     "caption", "center",   "col",  "colgroup", "dd", "dir", "div",
            "dl",      "dt",         "fieldset", "form",    "frameset", "h1",   "h2",       "h3", "h4",  "h5",
            "h6",      "head",       "hr",       "li",      "listing",  "menu", "ol",       "p",  "pre", "table",
            "tbody",   "td",         "tfoot",    "th",      "title",    "tr",   "ul",       "xmp"});
    closes("pre", {"dd", "dl", "dt", "fieldset", "form", "li", "table", "ul"});
    closes("s", {"p"});
    closes("script", {"noscript"});
    closes("small", {"p"});
    closes("span", {"td", "th"});
    closes("strike", {"p"});
    closes("style", {"body", "frameset"});
    closes("tbody", {"tbody", "tfoot"});
    closes("td", {"tbody", "td", "tfoot", "th", "tr"});
    closes("tfoot", {"tbody"});
    closes("th", {"tbody", "td", "tfoot", "th", "tr"});
    closes("thead", {"tbody", "tfoot"});
    closes("title", {"body", "frameset"});
    closes("tr", {"tbody", "tfoot", "tr"});
    closes("tt", {"p"});
    closes("u", {"p", "td", "th"});
    closes("ul", {"address", "form", "menu", "ol", "pre"});
    closes("xmp", {"dd", "dl", "dt", "fieldset", "form", "li", "table", "ul"});
}

} // namespace

const ElementTraits& TraitsOf(std::string_view name)
{
    static const TraitsTable kTable;
    static const ElementTraits kUnknown;
    const ElementTraits* traits = kTable.find(name);
    return traits ? *traits : kUnknown;
}
