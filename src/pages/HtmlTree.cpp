#include "pages/HtmlTree.h"

#include <QString>

#include <libxml/HTMLparser.h>

#include <climits>
#include <mutex>

namespace kenmori {

void HtmlDocumentDeleter::operator()(xmlDoc* document) const
{
    xmlFreeDoc(document);
}

namespace {

std::string_view Utf8View(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// The page's bytes as the parser takes them (see ParseHtmlPage).
std::string PreparedPage(std::string_view html, References references)
{
    html = html.substr(0, html.find('\0'));
    const size_t lastOpen = html.rfind('<');
    if (lastOpen != std::string_view::npos) {
        const size_t lastClose = html.rfind('>');
        if (lastClose == std::string_view::npos || lastClose < lastOpen)
            html = html.substr(0, lastOpen);
    }
    QString text = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
    text.remove(QChar::ReplacementCharacter);
    const QByteArray utf8 = text.toUtf8();
    if (references == References::Decoded)
        return utf8.toStdString();
    // Every "&" reaches the tree as written.
    std::string escaped;
    escaped.reserve(static_cast<size_t>(utf8.size()) + static_cast<size_t>(utf8.size()) / 16);
    for (const char byte : utf8) {
        if (byte == '&')
            escaped += "&amp;";
        else
            escaped += byte;
    }
    return escaped;
}

bool IsAsciiBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Calls found(name) for each class name of the element until it returns true.
template <typename Found>
bool AnyClass(const xmlNode* node, Found found)
{
    const std::string classes = AttributeText(node, "class");
    size_t at = 0;
    while (at < classes.size()) {
        while (at < classes.size() && IsAsciiBlank(classes[at]))
            ++at;
        size_t end = at;
        while (end < classes.size() && !IsAsciiBlank(classes[end]))
            ++end;
        if (end > at && found(std::string_view(classes).substr(at, end - at)))
            return true;
        at = end;
    }
    return false;
}

} // namespace

HtmlDocument ParseHtmlPage(std::string_view html, References references)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });
    const std::string page = PreparedPage(html, references);
    if (page.empty() || page.size() > static_cast<size_t>(INT_MAX))
        return nullptr;
    constexpr int kOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET
        | HTML_PARSE_NODEFDTD | HTML_PARSE_IGNORE_ENC;
    return HtmlDocument(htmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, "UTF-8", kOptions));
}

const xmlNode* RootElement(const HtmlDocument& document)
{
    return document ? xmlDocGetRootElement(document.get()) : nullptr;
}

std::string_view ElementName(const xmlNode* node)
{
    return node && node->type == XML_ELEMENT_NODE ? Utf8View(node->name) : std::string_view();
}

bool IsElement(const xmlNode* node, std::string_view name)
{
    return ElementName(node) == name;
}

std::string AttributeText(const xmlNode* node, const char* name)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return {};
    for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        if (Utf8View(attribute->name) != name)
            continue;
        std::string value;
        for (const xmlNode* part = attribute->children; part; part = part->next)
            value += Utf8View(part->content);
        return value;
    }
    return {};
}

bool HasAttribute(const xmlNode* node, const char* name)
{
    if (!node || node->type != XML_ELEMENT_NODE)
        return false;
    for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        if (Utf8View(attribute->name) == name)
            return true;
    }
    return false;
}

bool HasClass(const xmlNode* node, std::string_view token)
{
    return AnyClass(node, [&](std::string_view name) { return name == token; });
}

bool HasClassStartingWith(const xmlNode* node, std::string_view prefix)
{
    return AnyClass(node, [&](std::string_view name) { return name.starts_with(prefix); });
}

const xmlNode* NextInTree(const xmlNode* node, const xmlNode* root, bool skipChildren)
{
    if (!skipChildren && node->children)
        return node->children;
    while (node && node != root) {
        if (node->next)
            return node->next;
        node = node->parent;
    }
    return nullptr;
}

const xmlNode* EnclosingElement(const xmlNode* node, std::string_view name)
{
    for (const xmlNode* up = node ? node->parent : nullptr; up; up = up->parent) {
        if (IsElement(up, name))
            return up;
    }
    return nullptr;
}

std::string SubtreeText(const xmlNode* node)
{
    std::string text;
    for (const xmlNode* at = node->children; at;) {
        const std::string_view name = ElementName(at);
        const bool code = name == "script" || name == "style";
        if (at->type == XML_TEXT_NODE || at->type == XML_CDATA_SECTION_NODE)
            text += Utf8View(at->content);
        at = NextInTree(at, node, code);
    }
    return text;
}

} // namespace kenmori
