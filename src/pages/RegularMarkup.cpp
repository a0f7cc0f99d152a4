#include "pages/RegularMarkup.h"

#include "pages/ElementTraits.h"
#include "pages/LayoutWriter.h"
#include "text/TextUtils.h"
#include "text/WordBytes.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Bare attributes that the parser gives their own name as value.
bool IsBooleanAttribute(std::string_view name)
{
    static constexpr std::string_view kBoolean[] = {"checked", "compact",  "declare", "defer",    "disabled",
                                                    "ismap",   "multiple", "nohref",  "noresize", "noshade",
                                                    "nowrap",  "readonly", "selected"};
    return std::find(std::begin(kBoolean), std::end(kBoolean), name) != std::end(kBoolean);
}

bool IsBlank(char c)
{
    static constexpr auto kBlanks = [] {
        std::array<bool, 256> table{};
        table[' '] = table['\t'] = table['\n'] = table['\r'] = true;
        return table;
    }();
    return kBlanks[static_cast<unsigned char>(c)];
}

bool IsNameStart(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsNameChar(char c)
{
    static constexpr auto kNameChars = [] {
        std::array<bool, 256> table{};
        for (int c = 'a'; c <= 'z'; ++c)
            table[static_cast<size_t>(c)] = true;
        for (int c = '0'; c <= '9'; ++c)
            table[static_cast<size_t>(c)] = true;
        table['-'] = table['_'] = table['.'] = true;
        return table;
    }();
    return kNameChars[static_cast<unsigned char>(c)];
}

// The bytes that may follow a name: a blank, the end of the tag or an "=".
bool EndsName(char c)
{
    static constexpr auto kNameEnds = [] {
        std::array<bool, 256> table{};
        table[' '] = table['\t'] = table['\n'] = table['\r'] = true;
        table['>'] = table['/'] = table['='] = true;
        return table;
    }();
    return kNameEnds[static_cast<unsigned char>(c)];
}

constexpr size_t kMaxNameLength = 100;
constexpr size_t kMaxDepth = 200;

class RegularMarkupReader {
public:
    RegularMarkupReader(std::string_view page, LayoutWriter& writer)
        : m_page(page)
        , m_writer(writer)
    {
        m_open.reserve(32);
        m_attributes.reserve(8);
    }

    bool read();

private:
    struct Open {
        std::string_view name;
        const ElementTraits* traits;
    };

    void readText(size_t end);
    // Most tags have no text in front of them: that case costs no call.
    bool writeText() { return !m_hasText || writePendingText(); }
    bool writePendingText();
    bool readMarkup();
    bool readComment();
    bool readDoctype();
    bool readEndTag();
    bool readStartTag();
    bool readCode(std::string_view name);
    bool readName(std::string_view& name);
    bool readAttributeValue(std::string_view& value);
    bool mayStart(const ElementTraits& traits) const;
    void skipBlanks();

    // The elements the document's frame is made of, told by their traits
    // rather than by comparing names on every tag.
    bool isHtml(const ElementTraits& traits) const { return &traits == m_html; }
    bool isHead(const ElementTraits& traits) const { return &traits == m_head; }
    bool isBody(const ElementTraits& traits) const { return &traits == m_body; }

    const ElementTraits* m_html = &TraitsOf("html");
    const ElementTraits* m_head = &TraitsOf("head");
    const ElementTraits* m_body = &TraitsOf("body");
    std::string_view m_page;
    size_t m_at = 0;
    LayoutWriter& m_writer;
    std::vector<Open> m_open;
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
    while (m_at < m_page.size()) {
        // Texts between tags are short, mostly none or a line break: no memchr.
        const size_t tag = m_page[m_at] == '<' ? m_at
            : m_at + 1 < m_page.size() && m_page[m_at + 1] == '<'
            ? m_at + 1
            : std::min(FindByteInWords(m_page, '<', m_at), m_page.size());
        if (tag > m_at)
            readText(tag);
        if (tag == m_page.size())
            break;
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

bool RegularMarkupReader::writePendingText()
{
    const std::string_view text = m_text;
    m_hasText = false;
    const auto blank = [&] { return std::all_of(text.begin(), text.end(), IsBlank); };
    if (m_open.empty()) // before <html> or after </html>
        return blank();
    if ((isHtml(*m_open.back().traits) || isHead(*m_open.back().traits)) && !blank())
        return false; // the parser would put it into a paragraph of its own
    m_writer.text(text);
    return true;
}

bool RegularMarkupReader::readMarkup()
{
    const std::string_view rest = m_page.substr(m_at);
    if (rest.size() < 2)
        return false;
    const char second = rest[1];
    // The text so far ends here, unless an end tag that nothing opened
    // joins it to the text after (see readEndTag).
    if (second == '/')
        return readEndTag();
    if (!writeText())
        return false;
    if (IsNameStart(second))
        return readStartTag();
    if (rest.starts_with("<!--"))
        return readComment();
    if (rest.size() >= 9 && second == '!')
        return SameTextIgnoringCase(rest.substr(2, 7), "DOCTYPE") && readDoctype();
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
    // Mostly it closes the element opened last: that name is compared in
    // place, without reading the name first. When it differs, the name read
    // below differs too.
    bool closesLast = false;
    std::string_view name;
    if (!m_open.empty()) {
        const std::string_view last = m_open.back().name;
        const size_t after = m_at + last.size();
        if (after < m_page.size() && SameShortText(m_page.substr(m_at, last.size()), last)
            && !IsNameChar(m_page[after])) {
            if (!EndsName(m_page[after]))
                return false;
            closesLast = true;
            m_at = after;
        }
    }
    if (!closesLast && !readName(name))
        return false;
    skipBlanks();
    if (m_at >= m_page.size() || m_page[m_at] != '>')
        return false;
    ++m_at;
    if (!closesLast) {
        const bool opened = std::any_of(m_open.begin(), m_open.end(),
                                        [&](const Open& element) { return SameShortText(element.name, name); });
        // An end tag nothing opened: the parser passes over it too. Any other
        // would close the elements opened after its own.
        return !opened;
    }
    if (!writeText())
        return false;
    m_open.pop_back();
    m_writer.endElement();
    if (m_open.empty())
        m_rootClosed = true;
    return true;
}

bool RegularMarkupReader::mayStart(const ElementTraits& traits) const
{
    if (m_rootClosed)
        return false;
    if (m_open.empty())
        return isHtml(traits);
    if (m_open.size() >= kMaxDepth || isHtml(traits))
        return false;
    if (isHtml(*m_open.back().traits))
        return (isHead(traits) && !m_seenHead && !m_seenBody) || (isBody(traits) && !m_seenBody);
    return !isHead(traits) && !isBody(traits) && !StartTagCloses(*m_open.back().traits, traits);
}

bool RegularMarkupReader::readStartTag()
{
    ++m_at;
    std::string_view name;
    if (!readName(name))
        return false;
    const ElementTraits& traits = TraitsOf(name);
    if (traits.holdsWhatFollows || !mayStart(traits))
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
            if (SameShortText(earlier.name, attribute.name))
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

    if (isHead(traits))
        m_seenHead = true;
    else if (isBody(traits))
        m_seenBody = true;
    m_writer.startElement(name, traits, m_attributes);
    if (selfClosing || traits.empty) {
        m_writer.endElement();
        return true;
    }
    m_open.push_back({name, &traits});
    if (traits.layout & kCode) // script and style
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
            // The parser ends the body at "</SCRIPT" too; such a name fails
            // to read below, and the page goes to the parser.
            m_at = end;
            return readEndTag();
        }
        from = end + 2;
    }
}

// Inlined: it runs for every tag and attribute name.
inline bool RegularMarkupReader::readName(std::string_view& name)
{
    // A local position: stores to a member would make the compiler reload
    // the page's size on every byte.
    const std::string_view page = m_page;
    const size_t start = m_at;
    if (start >= page.size() || !IsNameStart(page[start]))
        return false;
    size_t at = start + 1;
    while (at < page.size() && IsNameChar(page[at]))
        ++at;
    m_at = at;
    if (at - start > kMaxNameLength)
        return false;
    name = page.substr(start, at - start);
    return at < page.size() && EndsName(page[at]);
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

// Inlined: it runs around every name and value.
inline void RegularMarkupReader::skipBlanks()
{
    const std::string_view page = m_page;
    size_t at = m_at;
    while (at < page.size() && IsBlank(page[at]))
        ++at;
    m_at = at;
}

} // namespace

bool WriteRegularMarkup(std::string_view page, LayoutWriter& writer)
{
    return RegularMarkupReader(page, writer).read();
}
