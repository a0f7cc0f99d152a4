#pragma once
// A page parsed once by libxml2's HTML parser, which repairs markup the way a
// browser does, and the few questions the readers ask of its elements. Only
// the readers' own sources include this header: libxml2 stays out of the
// core's interface.

#include <libxml/tree.h>

#include <memory>
#include <string>
#include <string_view>

namespace kenmori {

struct HtmlDocumentDeleter {
    void operator()(xmlDoc* document) const;
};
using HtmlDocument = std::unique_ptr<xmlDoc, HtmlDocumentDeleter>;

// How character references reach texts and attribute values.
enum class References {
    AsWritten, // "&amp;", "&#x2b;" as the site wrote them: the CSV output decodes
               // them, the posting-sheet address keeps them
    Decoded,   // as a browser reads them: what links and forms send
};

// The page as a tree; null when nothing of it could be parsed. A NUL byte
// ends the page; bytes that are not UTF-8 are left out (libxml2 would read
// the rest of the page as Latin-1); a tag cut off at the end of a page that
// broke off is left out rather than completed.
HtmlDocument ParseHtmlPage(std::string_view html, References references = References::AsWritten);

// The page's root element (<html>); null for no document.
const xmlNode* RootElement(const HtmlDocument& document);

// The element's name as the parser gives it (lower case); "" for other nodes.
std::string_view ElementName(const xmlNode* node);
bool IsElement(const xmlNode* node, std::string_view name);

// The attribute's value as written; "" when the element does not have it.
std::string AttributeText(const xmlNode* node, const char* name);
bool HasAttribute(const xmlNode* node, const char* name);

// Whether one of the element's class names is token, or begins with prefix.
bool HasClass(const xmlNode* node, std::string_view token);
bool HasClassStartingWith(const xmlNode* node, std::string_view prefix);

// The node after node in document order, not leaving root's subtree; the
// node's own children are passed over when skipChildren is set.
const xmlNode* NextInTree(const xmlNode* node, const xmlNode* root, bool skipChildren = false);

// The nearest enclosing element of that name; null when there is none.
const xmlNode* EnclosingElement(const xmlNode* node, std::string_view name);

// Every text of the subtree, one after another, as UTF-8 with its
// references as written; script and style bodies and comments left out.
std::string SubtreeText(const xmlNode* node);

} // namespace kenmori
