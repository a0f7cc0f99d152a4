#include "pages/LayoutWriter.h"

#include "pages/ElementTraits.h"
#include "text/TextUtils.h"
#include "text/WordBytes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
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

// Attributes that readers look for first in a tag come first ("href",
// "name", "value", in this order); the others keep the page's order. Gives
// the attribute's place among the first ones, or kNotLeading.
constexpr int kLeadingAttributes = 3;
constexpr int kNotLeading = -1;

int LeadingPlace(std::string_view name)
{
    if (name.size() == 4)
        return SameShortText(name, "href") ? 0 : SameShortText(name, "name") ? 1 : kNotLeading;
    return name.size() == 5 && SameShortText(name, "value") ? 2 : kNotLeading;
}

// What a byte of page text asks of the writer.
enum TextByte : unsigned char { kPlain, kSpace, kLineBreak, kEscaped };

constexpr std::array<unsigned char, 256> kTextBytes = [] {
    std::array<unsigned char, 256> table{};
    table[' '] = table['\t'] = table['\f'] = kSpace;
    table['\n'] = table['\r'] = kLineBreak;
    table['<'] = table['>'] = kEscaped;
    return table;
}();

TextByte KindOfByte(char c)
{
    return static_cast<TextByte>(kTextBytes[static_cast<unsigned char>(c)]);
}

// Bytes that an attribute value cannot hold as they are: a quote or angle
// bracket is escaped, a blank other than a space becomes one.
constexpr std::array<bool, 256> kAttributeEscapes = [] {
    std::array<bool, 256> table{};
    table['"'] = table['<'] = table['>'] = true;
    table['\t'] = table['\f'] = table['\n'] = table['\r'] = true;
    return table;
}();

size_t FirstAttributeEscape(std::string_view value)
{
    size_t at = 0;
    while (at < value.size() && !kAttributeEscapes[static_cast<unsigned char>(value[at])])
        ++at;
    return at;
}

bool IsLabelName(std::string_view name)
{
    return name.size() == 2 && name[0] == 't' && name[1] == 'h';
}

// The first byte from from on that may ask for something (a blank, a control
// character, "<" or ">"), or the end; eight bytes at a time, as Japanese
// text asks for nothing.
size_t NextAskingByte(std::string_view text, size_t from)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    size_t at = from;
    if constexpr (std::endian::native == std::endian::little) {
        for (; at < text.size() && text.size() - at >= 8; at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, sizeof word);
            // Bytes below 0x21 and either angle bracket; the first one marked
            // is exact (a borrow only marks bytes after it).
            const std::uint64_t asking =
                (((word - 0x21 * kOnes) & ~word) | WordBytesEqual(word & ~(2 * kOnes), '<')) & kWordHighBits;
            if (asking != 0)
                return at + FirstMarkedByte(asking);
        }
        // The last few bytes as the end of the last word; a byte before from
        // may mark one after it that asks for nothing, which the caller
        // passes over.
        if (at < text.size() && text.size() >= 8) {
            const size_t last = text.size() - 8;
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + last, sizeof word);
            const std::uint64_t asking =
                ((((word - 0x21 * kOnes) & ~word) | WordBytesEqual(word & ~(2 * kOnes), '<')) & kWordHighBits)
                >> (8 * (at - last));
            return asking != 0 ? at + FirstMarkedByte(asking) : text.size();
        }
    }
    while (at < text.size() && KindOfByte(text[at]) == kPlain && static_cast<unsigned char>(text[at]) > 0x20)
        ++at;
    return at;
}

} // namespace

LayoutWriter::LayoutWriter()
    : m_line(256, '\0')
    , m_open(16)
    , m_openCount(1) // the document itself
{
    m_lines.reserve(256);
}

inline void LayoutWriter::put(std::string_view piece)
{
    copyBytes(room(piece.size()), piece.data(), piece.size());
    m_lineLength += piece.size();
}

void LayoutWriter::growLine(size_t size)
{
    m_line.resize(std::max(m_line.size() * 2, m_lineLength + size));
}

inline void LayoutWriter::pushOpen(const OpenElement& element)
{
    if (m_openCount == m_open.size()) [[unlikely]]
        m_open.resize(m_open.size() * 2);
    m_open[m_openCount++] = element;
}

void LayoutWriter::startElement(std::string_view name, const std::vector<MarkupAttribute>& attributes)
{
    startElement(name, TraitsOf(name), attributes);
}

void LayoutWriter::startElement(std::string_view name, const ElementTraits& traits,
                                const std::vector<MarkupAttribute>& attributes)
{
    if (m_skippedDepth > 0) {
        ++m_skippedDepth;
        return;
    }
    const unsigned kind = traits.layout;
    OpenElement& parent = m_open[m_openCount - 1];
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
    pushOpen(OpenElement{name, kind, false, false, IsLabelName(name)});
    if (kind & kCode) {
        endTag(name);
        m_skippedDepth = 1;
        return;
    }
    if ((kind & kOneLine) && !(kind & kVoid))
        ++m_oneLineDepth;
}

void LayoutWriter::otherNode()
{
    if (m_skippedDepth == 0)
        m_open[m_openCount - 1].previousIsSubCaption = false;
}

void LayoutWriter::writeText(std::string_view content)
{
    if (m_skippedDepth > 0)
        return;
    const auto notSpace = [](char c) { return !IsHtmlSpace(c); };
    const auto first = std::find_if(content.begin(), content.end(), notSpace);
    if (first != content.end())
        m_open[m_openCount - 1].previousIsSubCaption = false;
    bool wrote = false;
    if (m_oneLineDepth > 0) {
        // A label or a paragraph stays on one line: indentation and line
        // breaks inside it go (with the blanks around them), plain spaces stay.
        wrote = appendText(content, false);
    } else if (first != content.end()) {
        // In the flow of a cell: the text's own line breaks stay, the blanks
        // around its ends and the indentation after a break go.
        const auto last = std::find_if(content.rbegin(), content.rend(), notSpace).base();
        wrote = appendText(std::string_view(&*first, static_cast<size_t>(last - first)), true);
    }
    if (wrote)
        m_justOpened = m_afterLabel = m_onlyEndTags = false;
}

// Text in one pass: runs of blanks that hold a line break go (in the flow of
// a cell they end the line), other blanks stay, and a "<" or ">" the parser
// took as text is escaped, so that it cannot read as part of a tag. Gives
// whether anything was written.
bool LayoutWriter::appendText(std::string_view content, bool breakLines)
{
    bool wrote = false;
    size_t kept = 0; // content before this is written or dropped
    const auto keep = [&](size_t end) {
        if (end > kept) {
            put(content.substr(kept, end - kept));
            wrote = true;
        }
    };
    size_t at = 0;
    while ((at = NextAskingByte(content, at)) < content.size()) {
        switch (KindOfByte(content[at])) {
        case kPlain:
        case kSpace: ++at; break;
        case kEscaped:
            keep(at);
            put(content[at] == '<' ? std::string_view("&lt;") : std::string_view("&gt;"));
            wrote = true;
            kept = ++at;
            break;
        case kLineBreak: {
            size_t runStart = at;
            while (runStart > kept && IsHtmlSpace(content[runStart - 1]))
                --runStart;
            keep(runStart);
            while (at < content.size() && IsHtmlSpace(content[at]))
                ++at;
            kept = at;
            if (breakLines) {
                m_justOpened = m_afterLabel = m_onlyEndTags = false;
                breakLine();
            }
            break;
        }
        }
    }
    keep(content.size());
    return wrote;
}

// Inlined: it runs for every element.
inline void LayoutWriter::startTag(std::string_view name, const std::vector<MarkupAttribute>& attributes,
                                   unsigned kind)
{
    char* to = room(name.size() + 1);
    to[0] = '<';
    copyBytes(to + 1, name.data(), name.size());
    m_lineLength += name.size() + 1;
    if (attributes.size() == 1) {
        appendAttribute(attributes.front());
    } else if (!attributes.empty()) {
        const MarkupAttribute* leading[kLeadingAttributes] = {};
        for (const MarkupAttribute& attribute : attributes) {
            const int place = LeadingPlace(attribute.name);
            if (place != kNotLeading && !leading[place])
                leading[place] = &attribute;
        }
        for (const MarkupAttribute* attribute : leading) {
            if (attribute)
                appendAttribute(*attribute);
        }
        for (const MarkupAttribute& attribute : attributes) {
            if (LeadingPlace(attribute.name) == kNotLeading)
                appendAttribute(attribute);
        }
    }
    put('>');
    m_afterLabel = m_onlyEndTags = false;
    m_justOpened = (kind & kVoid) == 0;
}

void LayoutWriter::appendAttribute(const MarkupAttribute& attribute)
{
    const std::string_view name = attribute.name;
    const std::string_view value = attribute.hasValue ? attribute.value : std::string_view();
    // Room for the attribute as it stands; only a value that needs escaping
    // asks for more.
    char* to = room(name.size() + value.size() + 4);
    *to++ = ' ';
    copyBytes(to, name.data(), name.size());
    to += name.size();
    if (!attribute.hasValue) {
        m_lineLength = static_cast<size_t>(to - m_line.data());
        return;
    }
    *to++ = '=';
    *to++ = '"';
    const size_t plain = FirstAttributeEscape(value);
    copyBytes(to, value.data(), plain);
    to += plain;
    if (plain == value.size()) {
        *to++ = '"';
        m_lineLength = static_cast<size_t>(to - m_line.data());
        return;
    }
    m_lineLength = static_cast<size_t>(to - m_line.data());
    size_t copied = plain;
    for (size_t at = plain; at < value.size(); ++at) {
        const char c = value[at];
        if (!kAttributeEscapes[static_cast<unsigned char>(c)])
            continue;
        // A wrapped attribute value must not break the line: other blanks
        // become spaces.
        const std::string_view replacement = c == '"' ? "&quot;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : " ";
        put(value.substr(copied, at - copied));
        put(replacement);
        copied = at + 1;
    }
    put(value.substr(copied));
    put('"');
}

void LayoutWriter::breakLine()
{
    if (m_lineLength > 0) {
        m_lines.emplace_back(m_line.data(), m_lineLength); // one allocation of the right size
        m_lineLength = 0;
    }
    m_onlyEndTags = false;
}

std::vector<std::string> LayoutWriter::finish()
{
    breakLine();
    return std::move(m_lines);
}
