#include "pages/RegularMarkup.h"

#include "pages/LayoutWriter.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// libxml2's HTML parser closes the open element when certain start tags
// arrive (a <div> ends an open <p>, a <td> an open <td>). Regular markup
// never relies on that, so meeting one of these pairs means a repair.
bool StartTagWouldClose(std::string_view open, std::string_view starting)
{
    static const std::unordered_map<std::string_view, std::vector<std::string_view>> closers = {
        {"a", {"a", "fieldset", "table", "td", "th"}},
        {"address", {"dd", "dl", "dt", "form", "li", "ul"}},
        {"b", {"center", "p", "td", "th"}},
        {"big", {"p"}},
        {"caption", {"col", "colgroup", "tbody", "tfoot", "thead", "tr"}},
        {"col", {"col", "colgroup", "tbody", "tfoot", "thead", "tr"}},
        {"colgroup", {"colgroup", "tbody", "tfoot", "thead", "tr"}},
        {"dd", {"dt"}},
        {"dir", {"dd", "dl", "dt", "form", "ul"}},
        {"dl", {"form", "li"}},
        {"dt", {"dd", "dl"}},
        {"font", {"center", "td", "th"}},
        {"form", {"form"}},
        {"h1", {"fieldset", "form", "li", "p", "table"}},
        {"h2", {"fieldset", "form", "li", "p", "table"}},
        {"h3", {"fieldset", "form", "li", "p", "table"}},
        {"h4", {"fieldset", "form", "li", "p", "table"}},
        {"h5", {"fieldset", "form", "li", "p", "table"}},
        {"h6", {"fieldset", "form", "li", "p", "table"}},
        {"head", {"a",   "abbr",  "acronym", "address", "b",  "bdo",  "big",      "blockquote", "body", "br",
                  "center", "cite", "code", "dd",  "dfn",  "dir",    "div",  "dl",   "dt",       "em",
                  "fieldset", "font", "form", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "hr", "i",
                  "iframe", "img", "kbd", "li", "listing", "map", "menu", "ol", "p", "pre", "q", "s", "samp",
                  "small", "span", "strike", "strong", "sub", "sup", "table", "tt", "u", "ul", "var", "xmp"}},
        {"hr", {"form"}},
        {"i", {"center", "p", "td", "th"}},
        {"legend", {"fieldset"}},
        {"li", {"li"}},
        {"link", {"body", "frameset"}},
        {"listing", {"dd", "dl", "dt", "fieldset", "form", "li", "table", "ul"}},
        {"menu", {"dd", "dl", "dt", "form", "ul"}},
        {"ol", {"form"}},
        {"option", {"optgroup", "option"}},
        {"p", {"address", "blockquote", "body", "caption", "center", "col", "colgroup", "dd", "dir", "div",
               "dl", "dt", "fieldset", "form", "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr",
               "li", "listing", "menu", "ol", "p", "pre", "table", "tbody", "td", "tfoot", "th", "title", "tr",
               "ul", "xmp"}},
        {"pre", {"dd", "dl", "dt", "fieldset", "form", "li", "table", "ul"}},
        {"s", {"p"}},
        {"script", {"noscript"}},
        {"small", {"p"}},
        {"span", {"td", "th"}},
        {"strike", {"p"}},
        {"style", {"body", "frameset"}},
        {"tbody", {"tbody", "tfoot"}},
        {"td", {"tbody", "td", "tfoot", "th", "tr"}},
        {"tfoot", {"tbody"}},
        {"th", {"tbody", "td", "tfoot", "th", "tr"}},
        {"thead", {"tbody", "tfoot"}},
        {"title", {"body", "frameset"}},
        {"tr", {"tbody", "tfoot", "tr"}},
        {"tt", {"p"}},
        {"u", {"p", "td", "th"}},
        {"ul", {"address", "form", "menu", "pre"}},
        {"xmp", {"dd", "dl", "dt", "fieldset", "form", "li", "table", "ul"}},
    };
    const auto found = closers.find(open);
    return found != closers.end()
        && std::find(found->second.begin(), found->second.end(), starting) != found->second.end();
}

// Elements libxml2 knows to have no content; any other start tag opens an
// element that holds what follows it.
bool IsEmptyElement(std::string_view name)
{
    static constexpr std::string_view kEmpty[] = {"area", "base", "basefont", "br", "col", "frame", "hr",
                                                  "img", "input", "isindex", "link", "meta", "param"};
    return std::find(std::begin(kEmpty), std::end(kEmpty), name) != std::end(kEmpty);
}

// Bare attributes that the parser gives their own name as value.
bool IsBooleanAttribute(std::string_view name)
{
    static constexpr std::string_view kBoolean[] = {"checked",  "compact",  "declare", "defer",    "disabled",
                                                    "ismap",    "multiple", "nohref",  "noresize", "noshade",
                                                    "nowrap",   "readonly", "selected"};
    return std::find(std::begin(kBoolean), std::end(kBoolean), name) != std::end(kBoolean);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNameStart(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

// Control characters and the two non-characters make libxml2 drop or
// complain; such a page takes the parser's way.
bool HoldsOnlyPlainCharacters(std::string_view page)
{
    for (size_t at = 0; at < page.size(); ++at) {
        const auto byte = static_cast<unsigned char>(page[at]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
            return false;
        if (byte == 0xEF && at + 2 < page.size() && static_cast<unsigned char>(page[at + 1]) == 0xBF
            && (static_cast<unsigned char>(page[at + 2]) & 0xFE) == 0xBE)
            return false;
    }
    return true;
}

constexpr size_t kMaxNameLength = 100;
constexpr size_t kMaxDepth = 200;

class RegularMarkupReader {
public:
    RegularMarkupReader(std::string_view page, LayoutWriter& writer) : m_page(page), m_writer(writer) {}

    bool read();

private:

    void readText(size_t end);
    bool writeText();
    bool readMarkup();
    bool readComment();
    bool readDoctype();
    bool readEndTag();
    bool readStartTag();
    bool readCode(std::string_view name);
    bool readName(std::string_view& name);
    bool readAttributeValue(std::string_view& value);
    bool mayStart(std::string_view name) const;
    void skipBlanks();

    std::string_view m_page;
    size_t m_at = 0;
    LayoutWriter& m_writer;
    std::vector<std::string_view> m_open; // names of the open elements
    std::vector<MarkupAttribute> m_attributes;
    std::string_view m_text; // text not yet written
    bool m_hasText = false;
    std::string m_joinedText;
    bool m_rootClosed = false;
    bool m_seenHead = false;
    bool m_seenBody = false;
};

bool RegularMarkupReader::read()
{
    if (!HoldsOnlyPlainCharacters(m_page))
        return false;
    while (m_at < m_page.size()) {
        const size_t tag = m_page.find('<', m_at);
        const size_t textEnd = tag == std::string_view::npos ? m_page.size() : tag;
        if (textEnd > m_at)
            readText(textEnd);
        if (tag == std::string_view::npos)
            break;
        m_at = tag;
        if (!readMarkup())
            return false;
    }
    return writeText() && m_rootClosed;
}

// Texts on either side of an end tag that nothing opened make one text in
// the parser's tree: they are written together.
void RegularMarkupReader::readText(size_t end)
{
    const std::string_view text = m_page.substr(m_at, end - m_at);
    m_at = end;
    if (!m_hasText) {
        m_text = text;
        m_hasText = true;
        m_joinedText.clear();
        return;
    }
    if (m_joinedText.empty())
        m_joinedText = m_text;
    m_joinedText += text;
    m_text = m_joinedText;
}

bool RegularMarkupReader::writeText()
{
    if (!m_hasText)
        return true;
    const std::string_view text = m_text;
    m_hasText = false;
    const bool blank = std::all_of(text.begin(), text.end(), IsBlank);
    if (m_open.empty()) // before <html> or after </html>
        return blank;
    if (!blank && (m_open.back() == "html" || m_open.back() == "head"))
        return false; // the parser would put it into a paragraph of its own
    m_writer.text(text);
    return true;
}

bool RegularMarkupReader::readMarkup()
{
    const std::string_view rest = m_page.substr(m_at);
    if (rest.size() >= 2 && rest[1] != '/' && !writeText())
        return false;
    if (rest.starts_with("<!--"))
        return readComment();
    if (rest.size() >= 9 && rest[1] == '!') {
        std::string doctype(rest.substr(2, 7));
        std::transform(doctype.begin(), doctype.end(), doctype.begin(), [](char c) {
            return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        });
        return doctype == "DOCTYPE" && readDoctype();
    }
    if (rest.size() >= 2 && rest[1] == '/')
        return readEndTag();
    if (rest.size() >= 2 && IsNameStart(rest[1]))
        return readStartTag();
    return false;
}

bool RegularMarkupReader::readComment()
{
    const size_t end = m_page.find("-->", m_at + 4);
    if (end == std::string_view::npos)
        return false;
    m_at = end + 3;
    return true; // comments leave no trace in the layout
}

// Only a plain "<!DOCTYPE html>" in front of everything: a public
// identifier changes how the parser treats blank text.
bool RegularMarkupReader::readDoctype()
{
    if (!m_open.empty() || m_rootClosed || m_seenHead || m_seenBody)
        return false;
    m_at += 9;
    skipBlanks();
    std::string_view name;
    if (!readName(name) || name != "html")
        return false;
    skipBlanks();
    if (m_at >= m_page.size() || m_page[m_at] != '>')
        return false;
    ++m_at;
    m_writer.otherNode();
    return true;
}

bool RegularMarkupReader::readEndTag()
{
    m_at += 2;
    std::string_view name;
    if (!readName(name))
        return false;
    skipBlanks();
    if (m_at >= m_page.size() || m_page[m_at] != '>')
        return false;
    ++m_at;
    const auto open = std::find(m_open.rbegin(), m_open.rend(), name);
    if (open == m_open.rend())
        return true; // an end tag nothing opened: the parser passes over it too
    if (open != m_open.rbegin() || !writeText())
        return false; // it would close the elements opened after it
    m_open.pop_back();
    m_writer.endElement();
    if (m_open.empty())
        m_rootClosed = true;
    return true;
}

bool RegularMarkupReader::mayStart(std::string_view name) const
{
    if (m_rootClosed)
        return false;
    if (m_open.empty())
        return name == "html";
    if (m_open.size() >= kMaxDepth || name == "html")
        return false;
    const std::string_view parent = m_open.back();
    if (parent == "html")
        return (name == "head" && !m_seenHead && !m_seenBody) || (name == "body" && !m_seenBody);
    return name != "head" && name != "body" && !StartTagWouldClose(parent, name);
}

bool RegularMarkupReader::readStartTag()
{
    ++m_at;
    std::string_view name;
    if (!readName(name) || !mayStart(name))
        return false;
    m_attributes.clear();
    while (true) {
        skipBlanks();
        if (m_at >= m_page.size())
            return false;
        if (m_page[m_at] == '>' || m_page.substr(m_at).starts_with("/>"))
            break;
        MarkupAttribute attribute;
        if (!readName(attribute.name))
            return false;
        for (const MarkupAttribute& earlier : m_attributes) {
            if (earlier.name == attribute.name)
                return false; // the parser keeps the first and reports an error
        }
        skipBlanks();
        if (m_at < m_page.size() && m_page[m_at] == '=') {
            ++m_at;
            skipBlanks();
            if (!readAttributeValue(attribute.value))
                return false;
            attribute.hasValue = true;
        } else if (IsBooleanAttribute(attribute.name)) {
            attribute.value = attribute.name; // as the parser fills it in
            attribute.hasValue = true;
        }
        m_attributes.push_back(attribute);
    }
    const bool selfClosing = m_page[m_at] == '/';
    m_at += selfClosing ? 2 : 1;

    if (name == "head")
        m_seenHead = true;
    else if (name == "body")
        m_seenBody = true;
    m_writer.startElement(name, m_attributes);
    if (selfClosing || IsEmptyElement(name)) {
        m_writer.endElement();
        return true;
    }
    if (name == "wbr" || name == "embed" || name == "source" || name == "track")
        return false; // the parser lets these hold what follows
    m_open.push_back(name);
    if (name == "script" || name == "style")
        return readCode(name);
    return true;
}

// A script or style body runs to its end tag, whatever it holds.
bool RegularMarkupReader::readCode(std::string_view name)
{
    size_t from = m_at;
    while (true) {
        const size_t end = m_page.find("</", from);
        if (end == std::string_view::npos)
            return false;
        const std::string_view after = m_page.substr(end + 2);
        const bool named = after.size() > name.size()
            && std::equal(name.begin(), name.end(), after.begin(), [](char a, char b) {
                   return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
               });
        if (named) {
            if (after[name.size()] != '>' && !IsBlank(after[name.size()]))
                return false;
            // An end tag in capitals ends the body too, but the name read next must match.
            m_at = end;
            return readEndTag();
        }
        from = end + 2;
    }
}

bool RegularMarkupReader::readName(std::string_view& name)
{
    const size_t start = m_at;
    if (m_at >= m_page.size() || !IsNameStart(m_page[m_at]))
        return false;
    while (m_at < m_page.size() && IsNameChar(m_page[m_at]))
        ++m_at;
    if (m_at - start > kMaxNameLength)
        return false;
    name = m_page.substr(start, m_at - start);
    return m_at < m_page.size() && (IsBlank(m_page[m_at]) || m_page[m_at] == '>' || m_page[m_at] == '/'
                                    || m_page[m_at] == '=');
}

bool RegularMarkupReader::readAttributeValue(std::string_view& value)
{
    if (m_at >= m_page.size())
        return false;
    const char quote = m_page[m_at];
    if (quote == '"' || quote == '\'') {
        const size_t end = m_page.find(quote, m_at + 1);
        if (end == std::string_view::npos)
            return false;
        value = m_page.substr(m_at + 1, end - m_at - 1);
        m_at = end + 1;
        return true;
    }
    const size_t start = m_at;
    while (m_at < m_page.size() && !IsBlank(m_page[m_at]) && m_page[m_at] != '>')
        ++m_at;
    value = m_page.substr(start, m_at - start);
    return !value.empty();
}

void RegularMarkupReader::skipBlanks()
{
    while (m_at < m_page.size() && IsBlank(m_page[m_at]))
        ++m_at;
}

} // namespace

bool WriteRegularMarkup(std::string_view page, LayoutWriter& writer)
{
    return RegularMarkupReader(page, writer).read();
}
