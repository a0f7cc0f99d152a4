// The element facts that let regular markup skip the parser must be the
// installed libxml2's own: each is checked against what its HTML parser does.

#include "pages/ElementTraits.h"

#include <gtest/gtest.h>

#include <libxml/HTMLparser.h>

#include <memory>
#include <string>

namespace {

constexpr const char* kNames[] = {
    "a",       "abbr",    "address", "area",   "b",       "base",     "basefont", "big",      "blockquote",
    "br",      "button",  "caption", "center", "cite",    "code",     "col",      "colgroup", "dd",
    "dfn",     "dir",     "div",     "dl",     "dt",      "em",       "embed",    "fieldset", "font",
    "form",    "frame",   "h1",      "h2",     "h3",      "h4",       "h5",       "h6",       "hr",
    "i",       "iframe",  "img",     "input",  "isindex", "kbd",      "label",    "legend",   "li",
    "link",    "listing", "map",     "menu",   "meta",    "noscript", "ol",       "optgroup", "option",
    "p",       "param",   "pre",     "q",      "s",       "samp",     "section",  "select",   "small",
    "source",  "span",    "strike",  "strong", "sub",     "sup",      "table",    "tbody",    "td",
    "tfoot",   "th",      "thead",   "tr",     "track",   "tt",       "u",        "ul",       "var",
    "wbr",     "xmp",     "acronym", "bdo",    "applet",  "object",   "ins",      "del",      "nobr",
    "article", "header",  "footer",  "nav",    "main",    "aside",    "figure",   "textarea", "noframes",
    "center",
};

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

// The element the parser makes of <name> inside a <div> of the body, and
// with it the tree that holds it.
struct ParsedElement {
    std::unique_ptr<xmlDoc, DocumentDeleter> document;
    xmlNode* element = nullptr;
};

ParsedElement Parse(const std::string& body, const std::string& name)
{
    const std::string page = "<html><body><div>" + body + "</div></body></html>";
    ParsedElement parsed;
    parsed.document.reset(htmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, "UTF-8",
                                         HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
                                             | HTML_PARSE_NONET | HTML_PARSE_NODEFDTD));
    const xmlNode* div = xmlDocGetRootElement(parsed.document.get())->children->children;
    for (xmlNode* child = div->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(child->name))
            parsed.element = child;
    }
    return parsed;
}

} // namespace

TEST(ElementTraits, EmptyElementsAreTheParsers)
{
    for (const std::string name : kNames) {
        SCOPED_TRACE(name);
        const ParsedElement parsed = Parse("<" + name + ">x", name);
        ASSERT_NE(parsed.element, nullptr);
        const bool holdsText = parsed.element->children != nullptr;
        EXPECT_EQ(TraitsOf(name).empty, !holdsText);
        // Written without an end tag: holds nothing, or is known to hold
        // what follows it (the quick way leaves such pages to the parser).
        if (TraitsOf(name).layout & kVoid) {
            EXPECT_EQ(TraitsOf(name).holdsWhatFollows, holdsText);
        }
    }
}

// For every pair: the parser ends the open element at the start tag exactly
// when the table says so.
TEST(ElementTraits, StartTagsThatCloseAreTheParsers)
{
    for (const std::string open : kNames) {
        if (TraitsOf(open).empty)
            continue;
        for (const std::string starting : kNames) {
            SCOPED_TRACE(open + " then " + starting);
            const ParsedElement parsed = Parse("<" + open + ">x<" + starting + ">y", open);
            ASSERT_NE(parsed.element, nullptr);
            bool inside = false;
            for (const xmlNode* child = parsed.element->children; child; child = child->next)
                inside = inside
                    || (child->type == XML_ELEMENT_NODE && starting == reinterpret_cast<const char*>(child->name));
            EXPECT_EQ(StartTagCloses(TraitsOf(open), TraitsOf(starting)), !inside);
        }
    }
}
