#include "pages/LayoutWriter.h"

#include <algorithm>
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
    kCell = 1u << 7,        // td: begins a line unless it opens its row or follows a label
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
        mark({"td"}, kCell);
        return table;
    }();
    const auto found = kinds.find(name);
    return found == kinds.end() ? 0u : found->second;
}

bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// A sub-caption such as "役職" or "年齢制限" in front of its value.
bool IsSubCaption(std::string_view name, const std::vector<MarkupAttribute>& attributes)
{
    if (name != "div")
        return false;
    for (const MarkupAttribute& attribute : attributes) {
        if (attribute.name != "class")
            continue;
        std::string_view rest = attribute.value;
        while (!rest.empty()) {
            rest.remove_prefix(std::find_if_not(rest.begin(), rest.end(), IsHtmlSpace) - rest.begin());
            const size_t end = std::find_if(rest.begin(), rest.end(), IsHtmlSpace) - rest.begin();
            const std::string_view token = rest.substr(0, end);
            if (token == "label" || (!token.empty() && token.starts_with("fs08")))
                return true;
            rest.remove_prefix(end);
        }
    }
    return false;
}

// Attributes that readers look for first in a tag come first; the others
// keep the page's order.
constexpr std::string_view kLeadingAttributes[] = {"href", "name", "value"};

bool IsLeading(std::string_view name)
{
    return std::find(std::begin(kLeadingAttributes), std::end(kLeadingAttributes), name)
        != std::end(kLeadingAttributes);
}

} // namespace

LayoutWriter::LayoutWriter()
{
    m_open.push_back(OpenElement{}); // the document itself
}

void LayoutWriter::startElement(std::string_view name, const std::vector<MarkupAttribute>& attributes)
{
    if (m_skippedDepth > 0) {
        ++m_skippedDepth;
        return;
    }
    const unsigned kind = KindOf(name);
    OpenElement& parent = m_open.back();
    if (m_oneLineDepth == 0) {
        bool newLine = (kind & (kStartsLine | kCode)) != 0;
        if (kind & kCell)
            newLine = !m_justOpened && !m_afterLabel;
        else if (kind & kBlock)
            newLine = !m_justOpened && !m_onlyEndTags && !parent.previousIsSubCaption;
        if (newLine)
            breakLine();
    }
    parent.previousIsSubCaption = IsSubCaption(name, attributes);
    parent.holdsBlocks = parent.holdsBlocks || (kind & (kBlock | kEndsOwnLine | kListItem)) != 0;
    startTag(name, attributes, kind);
    m_open.push_back(OpenElement{name, kind, false, false});
    if (kind & kCode) {
        endTag(name);
        m_skippedDepth = 1;
        return;
    }
    if ((kind & kOneLine) && !(kind & kVoid))
        ++m_oneLineDepth;
}

void LayoutWriter::endElement()
{
    if (m_skippedDepth > 1) {
        --m_skippedDepth;
        return;
    }
    if (m_open.size() <= 1)
        return;
    const OpenElement element = m_open.back();
    m_open.pop_back();
    if (m_skippedDepth == 1) {
        m_skippedDepth = 0;
        return;
    }
    if (element.kind & kVoid)
        return;
    if (element.kind & kOneLine)
        --m_oneLineDepth;
    if (m_oneLineDepth == 0
        && ((element.kind & kEndsOwnLine) || ((element.kind & kBlock) && element.holdsBlocks)))
        breakLine();
    endTag(element.name);
    m_afterLabel = element.name == "th";
}

void LayoutWriter::otherNode()
{
    if (m_skippedDepth == 0)
        m_open.back().previousIsSubCaption = false;
}

void LayoutWriter::text(std::string_view content)
{
    if (m_skippedDepth > 0)
        return;
    if (!std::all_of(content.begin(), content.end(), IsHtmlSpace))
        m_open.back().previousIsSubCaption = false;
    if (m_oneLineDepth > 0)
        appendOneLineText(content);
    else
        appendFlowText(content);
}

// A label or a paragraph stays on one line: indentation and line breaks
// inside it go, plain spaces stay.
void LayoutWriter::appendOneLineText(std::string_view content)
{
    bool wrote = false;
    size_t at = 0;
    while (at < content.size()) {
        const size_t runEnd = std::find_if_not(content.begin() + at, content.end(), IsHtmlSpace) - content.begin();
        if (runEnd > at) {
            const std::string_view run = content.substr(at, runEnd - at);
            if (std::none_of(run.begin(), run.end(), IsLineBreak)) {
                m_line += run;
                wrote = true;
            }
            at = runEnd;
            continue;
        }
        const size_t wordEnd = std::find_if(content.begin() + at, content.end(), IsHtmlSpace) - content.begin();
        appendEscaped(content.substr(at, wordEnd - at));
        wrote = true;
        at = wordEnd;
    }
    if (wrote)
        m_justOpened = m_afterLabel = m_onlyEndTags = false;
}

// In the flow of a cell: the text's own line breaks stay, the blanks around
// its ends and the indentation after a break go.
void LayoutWriter::appendFlowText(std::string_view content)
{
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

void LayoutWriter::startTag(std::string_view name, const std::vector<MarkupAttribute>& attributes, unsigned kind)
{
    std::string& tag = m_line;
    tag += '<';
    tag += name;
    const auto appendAttribute = [&](const MarkupAttribute& attribute) {
        tag += ' ';
        tag += attribute.name;
        if (!attribute.hasValue)
            return;
        tag += "=\"";
        for (const char c : attribute.value) {
            switch (c) {
            case '"': tag += "&quot;"; break;
            case '<': tag += "&lt;"; break;
            case '>': tag += "&gt;"; break;
            // A wrapped attribute value must not break the line.
            case ' ': case '\t': case '\n': case '\r': case '\f': tag += ' '; break;
            default: tag += c;
            }
        }
        tag += '"';
    };
    for (const std::string_view leading : kLeadingAttributes) {
        const auto found = std::find_if(attributes.begin(), attributes.end(),
                                        [&](const MarkupAttribute& attribute) { return attribute.name == leading; });
        if (found != attributes.end())
            appendAttribute(*found);
    }
    for (const MarkupAttribute& attribute : attributes) {
        if (!IsLeading(attribute.name))
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

void LayoutWriter::breakLine()
{
    if (!m_line.empty()) {
        m_lines.push_back(std::move(m_line));
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

std::vector<std::string> LayoutWriter::finish()
{
    breakLine();
    return std::move(m_lines);
}
