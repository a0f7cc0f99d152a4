#pragma once
// Writes a page in the readers' line layout (described in PageLayout.h) from
// its elements and texts as a parser meets them, in document order. Two
// readers feed it: libxml2's tree for any page, and the quick reader of
// regular markup; both give it the same calls for the same page.

#include "pages/ElementTraits.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

struct MarkupAttribute {
    std::string_view name;
    std::string_view value;
    bool hasValue = false; // false for a bare attribute such as "checked"
};

class LayoutWriter {
public:
    LayoutWriter();

    // Names are lower case and must outlive the writer.
    void startElement(std::string_view name, const std::vector<MarkupAttribute>& attributes);
    void startElement(std::string_view name, const ElementTraits& traits,
                      const std::vector<MarkupAttribute>& attributes);
    // Inline: the quick reader ends every element through it.
    void endElement()
    {
        if (m_skippedDepth > 1) {
            --m_skippedDepth;
            return;
        }
        if (m_openCount <= 1)
            return;
        const OpenElement& element = m_open[--m_openCount];
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
        m_afterLabel = element.isLabel;
    }
    // A text as the page holds it, blank ones included.
    void text(std::string_view content)
    {
        // Most texts are the line break between two tags, which writes
        // nothing and leaves everything as it was: no call for them.
        if (content.size() != 1 || (content[0] != '\n' && content[0] != '\r'))
            writeText(content);
    }
    // A node that is neither element, text nor comment (a processing instruction).
    void otherNode();

    std::vector<std::string> finish();

private:
    struct OpenElement {
        std::string_view name;
        unsigned kind = 0;
        bool holdsBlocks = false;          // a child is a block, a list item or a container
        bool previousIsSubCaption = false; // the last child that counts is a sub-caption
        bool isLabel = false;              // a <th>
    };

    void writeText(std::string_view content);
    void startTag(std::string_view name, const std::vector<MarkupAttribute>& attributes, unsigned kind);
    void endTag(std::string_view name)
    {
        const bool onlyEndTags = m_lineLength == 0 || m_onlyEndTags;
        char* to = room(name.size() + 3);
        to[0] = '<';
        to[1] = '/';
        copyBytes(to + 2, name.data(), name.size());
        to[name.size() + 2] = '>';
        m_lineLength += name.size() + 3;
        m_justOpened = m_afterLabel = false;
        m_onlyEndTags = onlyEndTags;
    }
    void breakLine();
    bool appendText(std::string_view content, bool breakLines);
    void appendAttribute(const MarkupAttribute& attribute);
    void pushOpen(const OpenElement& element);

    // The line is written into a buffer the writer owns: every piece of a
    // tag would otherwise be a call with its own capacity checks.
    char* room(size_t size)
    {
        if (m_line.size() - m_lineLength < size) [[unlikely]]
            growLine(size);
        return m_line.data() + m_lineLength;
    }
    void put(char c) { *room(1) = c, ++m_lineLength; }

    // Copies the few bytes of a name or a piece of text without a call:
    // every copy of a fixed size below compiles to plain moves, and none
    // reads outside the source.
    static void copyBytes(char* to, const char* from, size_t size)
    {
        if (size >= 8) {
            if (size > 16) {
                std::memcpy(to, from, size);
                return;
            }
            std::memcpy(to, from, 8);
            std::memcpy(to + size - 8, from + size - 8, 8);
        } else if (size >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + size - 4, from + size - 4, 4);
        } else if (size > 0) {
            to[0] = from[0];
            to[size / 2] = from[size / 2];
            to[size - 1] = from[size - 1];
        }
    }
    void put(std::string_view piece);
    void growLine(size_t size);

    std::vector<std::string> m_lines;
    std::string m_line; // its first m_lineLength bytes are the line so far
    size_t m_lineLength = 0;
    std::vector<OpenElement> m_open; // its first m_openCount are open, the document first
    size_t m_openCount = 0;
    int m_oneLineDepth = 0;
    int m_skippedDepth = 0;     // inside a script or style element
    bool m_justOpened = false;  // the last thing written opened an element
    bool m_afterLabel = false;  // the last thing written closed a <th>
    bool m_onlyEndTags = false; // the line so far holds end tags alone
};
