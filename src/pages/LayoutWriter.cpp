#include "pages/LayoutWriter.h"

#include "pages/ElementTraits.h"
#include "text/TextUtils.h"
#include "text/WordBytes.h"

#include <algorithm>
#include <array>
#include <bit>
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

// Longer tag names are written a piece at a time.
constexpr size_t kLongestTagName = 32;

// Attributes that readers look for first in a tag come first; the others
// keep the page's order.
constexpr std::string_view kLeadingAttributes[] = {"href", "name", "value"};

bool IsLeading(std::string_view name)
{
    return std::find(std::begin(kLeadingAttributes), std::end(kLeadingAttributes), name)
        != std::end(kLeadingAttributes);
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
                return at + static_cast<size_t>(std::countr_zero(asking)) / 8;
        }
    }
    while (at < text.size() && KindOfByte(text[at]) == kPlain && static_cast<unsigned char>(text[at]) > 0x20)
        ++at;
    return at;
}

} // namespace

LayoutWriter::LayoutWriter()
{
    m_open.reserve(64);
    m_lines.reserve(256);
    m_open.push_back(OpenElement{}); // the document itself
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
    if (m_oneLineDepth == 0 && ((element.kind & kEndsOwnLine) || ((element.kind & kBlock) && element.holdsBlocks)))
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
    const auto notSpace = [](char c) { return !IsHtmlSpace(c); };
    const auto first = std::find_if(content.begin(), content.end(), notSpace);
    if (first != content.end())
        m_open.back().previousIsSubCaption = false;
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
            m_line.append(content, kept, end - kept);
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
            m_line += content[at] == '<' ? "&lt;" : "&gt;";
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
        const std::string_view value = attribute.value;
        size_t copied = 0;
        for (size_t at = 0; at < value.size(); ++at) {
            const char c = value[at];
            if (KindOfByte(c) == kPlain && c != '"')
                continue;
            const char* replacement = c == '"' ? "&quot;"
                : c == '<'                     ? "&lt;"
                : c == '>'                     ? "&gt;"
                // A wrapped attribute value must not break the line.
                : c != ' ' ? " "
                           : nullptr;
            if (!replacement)
                continue;
            tag.append(value, copied, at - copied);
            tag += replacement;
            copied = at + 1;
        }
        tag.append(value, copied);
        tag += '"';
    };
    if (attributes.size() == 1) {
        appendAttribute(attributes.front());
    } else if (!attributes.empty()) {
        for (const std::string_view leading : kLeadingAttributes) {
            const auto found = std::find_if(
                attributes.begin(), attributes.end(),
                [&](const MarkupAttribute& attribute) { return SameShortText(attribute.name, leading); });
            if (found != attributes.end())
                appendAttribute(*found);
        }
        for (const MarkupAttribute& attribute : attributes) {
            if (!IsLeading(attribute.name))
                appendAttribute(attribute);
        }
    }
    tag += '>';
    m_afterLabel = m_onlyEndTags = false;
    m_justOpened = (kind & kVoid) == 0;
}

void LayoutWriter::endTag(std::string_view name)
{
    const bool onlyEndTags = m_line.empty() || m_onlyEndTags;
    // Names are short: the tag is put together first and appended whole.
    char tag[kLongestTagName + 3];
    if (name.size() <= kLongestTagName) {
        tag[0] = '<';
        tag[1] = '/';
        std::copy(name.begin(), name.end(), tag + 2);
        tag[name.size() + 2] = '>';
        m_line.append(tag, name.size() + 3);
    } else {
        m_line.append("</").append(name).append(">");
    }
    m_justOpened = m_afterLabel = false;
    m_onlyEndTags = onlyEndTags;
}

void LayoutWriter::breakLine()
{
    if (!m_line.empty()) {
        m_lines.emplace_back(m_line); // one allocation of the right size; m_line keeps its room
        m_line.clear();
    }
    m_onlyEndTags = false;
}

std::vector<std::string> LayoutWriter::finish()
{
    breakLine();
    return std::move(m_lines);
}
