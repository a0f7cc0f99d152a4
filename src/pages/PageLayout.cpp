#include "pages/PageLayout.h"

#include "pages/LayoutWriter.h"
#include "pages/RegularMarkup.h"

#include <QByteArray>
#include <QString>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>
#include <mutex>
#include <string_view>

namespace {

std::string_view NameOf(const xmlNode* node)
{
    return node->name ? reinterpret_cast<const char*>(node->name) : "";
}

// Tells the writer what libxml2's tree holds, in document order.
class TreeWalk {
public:
    explicit TreeWalk(LayoutWriter& writer) : m_writer(writer) {}

    void walk(const xmlNode* first)
    {
        // Iterative, so that a page nested thousands deep cannot exhaust the stack.
        const xmlNode* node = first;
        while (node) {
            if (enter(node) && node->children) {
                node = node->children;
                continue;
            }
            while (!node->next) {
                node = node->parent;
                if (!node || node->type != XML_ELEMENT_NODE)
                    return;
                m_writer.endElement();
            }
            node = node->next;
        }
    }

private:
    // Whether the node is an element whose children come next; an element
    // without children is ended here.
    bool enter(const xmlNode* node)
    {
        switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            if (node->content)
                m_writer.text(reinterpret_cast<const char*>(node->content));
            return false;
        case XML_COMMENT_NODE:
            return false;
        case XML_ELEMENT_NODE:
            break;
        default:
            m_writer.otherNode(); // the doctype, a processing instruction
            return false;
        }
        std::vector<std::string> values;
        std::vector<MarkupAttribute> attributes;
        for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
            std::string value;
            for (const xmlNode* part = attribute->children; part; part = part->next) {
                if (part->content)
                    value += reinterpret_cast<const char*>(part->content);
            }
            values.push_back(std::move(value));
            attributes.push_back({reinterpret_cast<const char*>(attribute->name), {}, attribute->children != nullptr});
        }
        for (size_t i = 0; i < attributes.size(); ++i)
            attributes[i].value = values[i];
        m_writer.startElement(NameOf(node), attributes);
        if (node->children)
            return true;
        m_writer.endElement();
        return false;
    }

    LayoutWriter& m_writer;
};

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

// Bytes that are not UTF-8 are left out, as a line holding them gave no
// text before (and libxml2 would read the rest of the page as Latin-1). A
// tag cut off at the end of a page that broke off is left out too, rather
// than completed with a truncated address.
std::string PreparePage(std::string_view html)
{
    html = html.substr(0, html.find('\0'));
    const size_t lastOpen = html.rfind('<');
    if (lastOpen != std::string_view::npos) {
        const size_t lastClose = html.rfind('>');
        if (lastClose == std::string_view::npos || lastClose < lastOpen)
            html = html.substr(0, lastOpen);
    }
    if (RoundTripsUnchanged(html))
        return std::string(html);
    QString text = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
    text.remove(QChar::ReplacementCharacter);
    return text.toStdString();
}

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

std::string EscapeAmpersands(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 16);
    while (!text.empty()) {
        const size_t amp = text.find('&');
        escaped += text.substr(0, amp);
        if (amp == std::string_view::npos)
            break;
        escaped += "&amp;";
        text.remove_prefix(amp + 1);
    }
    return escaped;
}

PageLines LayoutByParser(std::string_view page)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    // Every "&" reaches the tree as written: the readers decode references.
    const std::string escaped = EscapeAmpersands(page);
    if (escaped.empty() || escaped.size() > static_cast<size_t>(INT_MAX))
        return {};
    constexpr int kOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING
        | HTML_PARSE_NONET | HTML_PARSE_NODEFDTD | HTML_PARSE_IGNORE_ENC;
    const std::unique_ptr<xmlDoc, DocumentDeleter> document(
        htmlReadMemory(escaped.data(), static_cast<int>(escaped.size()), nullptr, "UTF-8", kOptions));
    if (!document)
        return {};
    LayoutWriter writer;
    TreeWalk(writer).walk(document->children);
    return writer.finish();
}

std::string JoinLines(const PageLines& lines)
{
    std::string joined;
    for (const std::string& line : lines) {
        joined += line;
        joined += '\n';
    }
    return joined;
}

} // namespace

PageLines LayoutPageLines(std::string_view html)
{
    const std::string page = PreparePage(html);
    if (page.empty())
        return {};
    LayoutWriter writer;
    if (WriteRegularMarkup(page, writer))
        return writer.finish();
    return LayoutByParser(page);
}

std::string NormalizePageLayout(std::string_view html)
{
    return JoinLines(LayoutPageLines(html));
}

std::string NormalizePageLayoutByParser(std::string_view html)
{
    return JoinLines(LayoutByParser(PreparePage(html)));
}

bool IsRegularMarkup(std::string_view html)
{
    LayoutWriter writer;
    return WriteRegularMarkup(PreparePage(html), writer);
}
