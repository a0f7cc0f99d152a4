#include "pages/PageLayout.h"

#include <QByteArray>
#include <QString>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

// What the writer needs to know of an element, by its name.
enum ElementKind : unsigned {
    kVoid = 1u << 0,        // no content: no end tag is written
    kStartsLine = 1u << 1,  // the start tag always begins a line
    kBlock = 1u << 2,       // begins a line unless it opens its parent's content or follows a sub-caption
    kOneLine = 1u << 3,     // written whole on one line: a label, a paragraph, a link
    kEndsOwnLine = 1u << 4, // a container whose end tag stands on a line of its own
    kCode = 1u << 5,        // the body is code, never page text
    kListItem = 1u << 6,    // p, li, dt, dd: a parent holding one holds blocks
};

unsigned KindOf(std::string_view name)
{
    static const std::unordered_map<std::string_view, unsigned> kinds = [] {
        std::unordered_map<std::string_view, unsigned> table;
        const auto mark = [&](std::initializer_list<std::string_view> names, unsigned kind) {
            for (const std::string_view name : names)
                table[name] |= kind;
        };
        mark({"br", "input", "img", "meta", "link", "hr", "wbr", "area", "col", "base", "param", "source",
              "embed", "track"},
             kVoid);
        mark({"html", "head", "body", "meta", "link", "title", "form", "input", "table", "caption", "thead",
              "tbody", "tfoot", "tr", "th", "p", "a", "br", "ul", "ol", "li", "dl", "dt", "dd", "hr", "h1", "h2",
              "h3", "h4", "h5", "h6"},
             kStartsLine);
        mark({"div", "section", "article", "header", "footer", "nav", "main", "aside", "fieldset", "figure",
              "blockquote", "pre", "center", "address"},
             kBlock);
        mark({"p", "th", "a", "title", "caption", "option", "button", "h1", "h2", "h3", "h4", "h5", "h6"},
             kOneLine);
        mark({"html", "head", "body", "form", "table", "thead", "tbody", "tfoot", "ul", "ol", "dl", "select"},
             kEndsOwnLine);
        mark({"script", "style"}, kCode);
        mark({"p", "li", "dt", "dd"}, kListItem);
        return table;
    }();
    const auto found = kinds.find(name);
    return found == kinds.end() ? 0u : found->second;
}

std::string_view NameOf(const xmlNode* node)
{
    return node->name ? reinterpret_cast<const char*>(node->name) : "";
}

bool IsElement(const xmlNode* node, std::string_view name = {})
{
    return node && node->type == XML_ELEMENT_NODE && (name.empty() || NameOf(node) == name);
}

bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

std::string AttributeText(const xmlAttr* attribute)
{
    std::string value;
    for (const xmlNode* part = attribute->children; part; part = part->next) {
        if (part->content)
            value += reinterpret_cast<const char*>(part->content);
    }
    return value;
}

bool HasClassToken(const xmlNode* node, bool (*matches)(std::string_view token))
{
    for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        if (std::string_view(reinterpret_cast<const char*>(attribute->name)) != "class")
            continue;
        const std::string value = AttributeText(attribute);
        std::string_view rest = value;
        while (!rest.empty()) {
            const size_t start = std::find_if_not(rest.begin(), rest.end(), IsHtmlSpace) - rest.begin();
            rest.remove_prefix(start);
            const size_t end = std::find_if(rest.begin(), rest.end(), IsHtmlSpace) - rest.begin();
            if (end > 0 && matches(rest.substr(0, end)))
                return true;
            rest.remove_prefix(end);
        }
    }
    return false;
}

// A sub-caption such as "役職" or "年齢制限" in front of its value.
bool IsSubCaption(const xmlNode* node)
{
    return IsElement(node, "div") && HasClassToken(node, [](std::string_view token) {
               return token == "label" || token.starts_with("fs08");
           });
}

bool IsBlankText(const xmlNode* node)
{
    if (node->type != XML_TEXT_NODE && node->type != XML_CDATA_SECTION_NODE)
        return false;
    const std::string_view text = node->content ? reinterpret_cast<const char*>(node->content) : "";
    return std::all_of(text.begin(), text.end(), IsHtmlSpace);
}

// The sibling before node, passing over blank text and comments.
const xmlNode* PreviousSibling(const xmlNode* node)
{
    const xmlNode* previous = node->prev;
    while (previous && (previous->type == XML_COMMENT_NODE || IsBlankText(previous)))
        previous = previous->prev;
    return previous;
}

bool HoldsBlocks(const xmlNode* node)
{
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if ((KindOf(NameOf(child)) & (kBlock | kEndsOwnLine | kListItem)) != 0)
            return true;
    }
    return false;
}

// Attributes that readers look for first in a tag come first; the others
// keep the page's order.
constexpr std::string_view kLeadingAttributes[] = {"href", "name", "value"};

class LayoutWriter {
public:
    void write(xmlNode* first);
    std::string finish();

private:
    bool enter(xmlNode* node);
    void leave(const xmlNode* node);
    void startTag(const xmlNode* node, unsigned kind);
    void endTag(std::string_view name);
    void text(std::string_view content);
    void breakLine();
    void appendEscaped(std::string_view text);

    std::string m_out;
    std::string m_line;
    int m_oneLineDepth = 0;
    bool m_justOpened = false;   // the last thing written opened an element
    bool m_afterLabel = false;   // the last thing written closed a <th>
    bool m_onlyEndTags = false;  // the line so far holds end tags alone
};

void LayoutWriter::write(xmlNode* first)
{
    // Iterative, so that a page nested thousands deep cannot exhaust the stack.
    xmlNode* node = first;
    while (node) {
        if (enter(node) && node->children) {
            node = node->children;
            continue;
        }
        leave(node);
        while (!node->next) {
            node = node->parent;
            if (!node || node->type != XML_ELEMENT_NODE)
                return;
            leave(node);
        }
        node = node->next;
    }
}

std::string LayoutWriter::finish()
{
    breakLine();
    return std::move(m_out);
}

bool LayoutWriter::enter(xmlNode* node)
{
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        if (node->content)
            text(reinterpret_cast<const char*>(node->content));
        return false;
    }
    if (node->type != XML_ELEMENT_NODE)
        return false; // comments, processing instructions, the doctype
    const std::string_view name = NameOf(node);
    const unsigned kind = KindOf(name);
    if (m_oneLineDepth == 0) {
        bool newLine = (kind & (kStartsLine | kCode)) != 0;
        if (name == "td")
            newLine = !m_justOpened && !m_afterLabel;
        else if (kind & kBlock)
            newLine = !m_justOpened && !m_onlyEndTags && !IsSubCaption(PreviousSibling(node));
        if (newLine)
            breakLine();
    }
    startTag(node, kind);
    if (kind & kCode) {
        endTag(name);
        return false;
    }
    if (kind & kVoid)
        return false;
    if (kind & kOneLine)
        ++m_oneLineDepth;
    return true;
}

void LayoutWriter::leave(const xmlNode* node)
{
    if (node->type != XML_ELEMENT_NODE)
        return;
    const std::string_view name = NameOf(node);
    const unsigned kind = KindOf(name);
    if (kind & (kVoid | kCode))
        return;
    if (kind & kOneLine)
        --m_oneLineDepth;
    if (m_oneLineDepth == 0 && ((kind & kEndsOwnLine) || ((kind & kBlock) && HoldsBlocks(node))))
        breakLine();
    endTag(name);
    m_afterLabel = name == "th";
}

void LayoutWriter::startTag(const xmlNode* node, unsigned kind)
{
    std::string& tag = m_line;
    tag += '<';
    tag += NameOf(node);
    const auto appendValuePart = [&](std::string_view part) {
        for (const char c : part) {
            switch (c) {
            case '"': tag += "&quot;"; break;
            case '<': tag += "&lt;"; break;
            case '>': tag += "&gt;"; break;
            // A wrapped attribute value must not break the line.
            case ' ': case '\t': case '\n': case '\r': case '\f': tag += ' '; break;
            default: tag += c;
            }
        }
    };
    const auto appendAttribute = [&](const xmlAttr* attribute) {
        tag += ' ';
        tag += reinterpret_cast<const char*>(attribute->name);
        if (!attribute->children)
            return; // a bare attribute such as "checked"
        tag += "=\"";
        for (const xmlNode* part = attribute->children; part; part = part->next) {
            if (part->content)
                appendValuePart(reinterpret_cast<const char*>(part->content));
        }
        tag += '"';
    };
    const auto isLeading = [](const xmlAttr* attribute) {
        const std::string_view name = reinterpret_cast<const char*>(attribute->name);
        return std::find(std::begin(kLeadingAttributes), std::end(kLeadingAttributes), name)
            != std::end(kLeadingAttributes);
    };
    for (const std::string_view leading : kLeadingAttributes) {
        for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
            if (reinterpret_cast<const char*>(attribute->name) == leading) {
                appendAttribute(attribute);
                break;
            }
        }
    }
    for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
        if (!isLeading(attribute))
            appendAttribute(attribute);
    }
    tag += '>';
    m_afterLabel = m_onlyEndTags = false;
    m_justOpened = (kind & kVoid) == 0;
}

void LayoutWriter::endTag(std::string_view name)
{
    const bool onlyEndTags = m_line.empty() || m_onlyEndTags;
    m_line += "</";
    m_line += name;
    m_line += '>';
    m_justOpened = m_afterLabel = false;
    m_onlyEndTags = onlyEndTags;
}

void LayoutWriter::text(std::string_view content)
{
    if (m_oneLineDepth > 0) {
        // A label or a paragraph stays on one line: indentation and line
        // breaks inside it go, plain spaces stay.
        std::string kept;
        size_t at = 0;
        while (at < content.size()) {
            const size_t runEnd = std::find_if_not(content.begin() + at, content.end(), IsHtmlSpace)
                - content.begin();
            if (runEnd > at) {
                const std::string_view run = content.substr(at, runEnd - at);
                if (std::none_of(run.begin(), run.end(), IsLineBreak))
                    kept += run;
                at = runEnd;
                continue;
            }
            const size_t wordEnd = std::find_if(content.begin() + at, content.end(), IsHtmlSpace)
                - content.begin();
            kept += content.substr(at, wordEnd - at);
            at = wordEnd;
        }
        if (!kept.empty()) {
            appendEscaped(kept);
            m_justOpened = m_afterLabel = m_onlyEndTags = false;
        }
        return;
    }
    // In the flow of a cell: the text's own line breaks stay, the blanks
    // around its ends and the indentation after a break go.
    const auto first = std::find_if_not(content.begin(), content.end(), IsHtmlSpace);
    const auto last = std::find_if_not(content.rbegin(), content.rend(), IsHtmlSpace).base();
    if (first >= last)
        return;
    std::string_view rest(&*first, static_cast<size_t>(last - first));
    while (!rest.empty()) {
        size_t breakAt = rest.size();
        for (size_t i = 0; i < rest.size(); ++i) {
            if (!IsHtmlSpace(rest[i]))
                continue;
            size_t runEnd = i;
            while (runEnd < rest.size() && IsHtmlSpace(rest[runEnd]))
                ++runEnd;
            if (std::any_of(rest.begin() + i, rest.begin() + runEnd, IsLineBreak)) {
                breakAt = i;
                break;
            }
            i = runEnd - 1;
        }
        appendEscaped(rest.substr(0, breakAt));
        m_justOpened = m_afterLabel = m_onlyEndTags = false;
        if (breakAt == rest.size())
            break;
        rest.remove_prefix(breakAt);
        rest.remove_prefix(std::find_if_not(rest.begin(), rest.end(), IsHtmlSpace) - rest.begin());
        breakLine();
    }
}

void LayoutWriter::breakLine()
{
    if (!m_line.empty()) {
        m_out += m_line;
        m_out += '\n';
        m_line.clear();
    }
    m_onlyEndTags = false;
}

// A "<" the parser took as text must not read as the start of a tag.
void LayoutWriter::appendEscaped(std::string_view text)
{
    while (!text.empty()) {
        const size_t at = text.find_first_of("<>");
        m_line += text.substr(0, at);
        if (at == std::string_view::npos)
            return;
        m_line += text[at] == '<' ? "&lt;" : "&gt;";
        text.remove_prefix(at + 1);
    }
}

// Whether the decoding round trip below would give text back unchanged:
// well-formed UTF-8 (shortest forms, no surrogates, nothing above U+10FFFF)
// without a byte-order mark (the decoder drops it) or a replacement
// character (removed below).
bool RoundTripsUnchanged(std::string_view text)
{
    const auto byte = [&](size_t at) { return at < text.size() ? static_cast<unsigned char>(text[at]) : 0u; };
    const auto continues = [&](size_t at) { return (byte(at) & 0xC0u) == 0x80u; };
    size_t pos = 0;
    while (pos < text.size()) {
        const unsigned lead = byte(pos);
        if (lead < 0x80) {
            ++pos;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            if (!continues(pos + 1))
                return false;
            pos += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            const unsigned second = byte(pos + 1);
            if (!continues(pos + 1) || !continues(pos + 2) || (lead == 0xE0 && second < 0xA0)
                || (lead == 0xED && second > 0x9F))
                return false;
            if (lead == 0xEF && ((second == 0xBB && byte(pos + 2) == 0xBF) || (second == 0xBF && byte(pos + 2) == 0xBD)))
                return false;
            pos += 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            const unsigned second = byte(pos + 1);
            if (!continues(pos + 1) || !continues(pos + 2) || !continues(pos + 3) || (lead == 0xF0 && second < 0x90)
                || (lead == 0xF4 && second > 0x8F))
                return false;
            pos += 4;
        } else {
            return false;
        }
    }
    return true;
}

// The parser would decode every reference and, at the first byte that is not
// UTF-8, read the rest of the page as Latin-1. So: every "&" reaches the tree
// as written, and bytes that are not UTF-8 are left out, as a line holding
// them gave no text before. A tag cut off at the end of a page that broke off
// is left out too, rather than completed with a truncated address.
std::string PrepareForParser(std::string_view html)
{
    html = html.substr(0, html.find('\0'));
    const size_t lastOpen = html.rfind('<');
    if (lastOpen != std::string_view::npos) {
        const size_t lastClose = html.rfind('>');
        if (lastClose == std::string_view::npos || lastClose < lastOpen)
            html = html.substr(0, lastOpen);
    }
    QByteArray utf8;
    std::string_view kept = html;
    if (!RoundTripsUnchanged(html)) {
        QString text = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
        text.remove(QChar::ReplacementCharacter);
        utf8 = text.toUtf8();
        kept = std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()));
    }
    std::string prepared;
    prepared.reserve(kept.size() + kept.size() / 16);
    while (!kept.empty()) {
        const size_t amp = kept.find('&');
        prepared += kept.substr(0, amp);
        if (amp == std::string_view::npos)
            break;
        prepared += "&amp;";
        kept.remove_prefix(amp + 1);
    }
    return prepared;
}

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

} // namespace

std::string NormalizePageLayout(std::string_view html)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    const std::string prepared = PrepareForParser(html);
    if (prepared.empty() || prepared.size() > static_cast<size_t>(INT_MAX))
        return {};
    constexpr int kOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
        | HTML_PARSE_NONET | HTML_PARSE_NODEFDTD | HTML_PARSE_IGNORE_ENC;
    const std::unique_ptr<xmlDoc, DocumentDeleter> document(
        htmlReadMemory(prepared.data(), static_cast<int>(prepared.size()), nullptr, "UTF-8", kOptions));
    if (!document)
        return {};
    LayoutWriter writer;
    writer.write(document->children);
    return writer.finish();
}
