#include "pages/PageLayout.h"

#include "pages/LayoutWriter.h"
#include "pages/RegularMarkup.h"
#include "text/WordBytes.h"

#include <QString>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

namespace {

std::string_view NameOf(const xmlNode* node)
{
    return node->name ? reinterpret_cast<const char*>(node->name) : "";
}

// Tells the writer what libxml2's tree holds, in document order.
class TreeWalk {
public:
    explicit TreeWalk(LayoutWriter& writer)
        : m_writer(writer)
    {
    }

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
        case XML_COMMENT_NODE: return false;
        case XML_ELEMENT_NODE: break;
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
            attributes.push_back(
                {reinterpret_cast<const char*>(attribute->name), {}, attribute->children != nullptr});
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

struct PageCharacters {
    // Well-formed UTF-8 (shortest forms, no surrogates, nothing above
    // U+10FFFF) without a byte-order mark (the decoder drops it) or a
    // replacement character (removed below): the decoding round trip would
    // give the text back unchanged.
    bool roundTrips = true;
    // Nothing that libxml2 drops from text: no control character but tab and
    // line breaks, no U+FFFE or U+FFFF. Only such a page may take the quick way.
    bool plain = true;
};

// Whether an ASCII word holds a control character that libxml2 drops.
inline bool DropsControlCharacter(std::uint64_t word)
{
    // Below 0x20 each byte stays below 0x80 when 0x60 is added; no carry
    // crosses into the next byte, as no ASCII byte reaches 0x100.
    const std::uint64_t control = ~(word + 0x6060606060606060u) & kWordHighBits;
    if (control == 0) // most words: not even a line break
        return false;
    const std::uint64_t allowed = WordBytesEqual(word, '\t') | WordBytesEqual(word, '\n')
        | WordBytesEqual(word, '\r');
    return (control & ~allowed) != 0;
}

PageCharacters ExamineCharacters(std::string_view text)
{
    // The control characters libxml2 drops from text.
    static constexpr auto kDropped = [] {
        std::array<bool, 0x80> table{};
        for (unsigned c = 0; c < 0x20; ++c)
            table[c] = c != '\t' && c != '\n' && c != '\r';
        return table;
    }();
    const auto isContinuation = [](unsigned char c) { return (c & 0xC0u) == 0x80u; };
    PageCharacters found;
    const auto* at = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = at + text.size();
    while (at < end) {
        const unsigned char lead = *at;
        if (lead < 0x80) {
            // Markup is mostly ASCII: eight bytes at a time while it lasts,
            // then the ASCII bytes before the next other one.
            while (end - at >= 8) {
                std::uint64_t word = 0;
                std::memcpy(&word, at, sizeof word);
                const unsigned ascii = LeadingAsciiBytes(word);
                if (ascii < 8) {
                    if constexpr (std::endian::native == std::endian::little) {
                        // The ASCII bytes in front of the other one are checked
                        // as one word too, the others read as letters.
                        if (ascii > 0) {
                            const std::uint64_t front = (std::uint64_t{1} << (8 * ascii)) - 1;
                            if (DropsControlCharacter((word & front) | (0x4141414141414141u & ~front)))
                                found.plain = false;
                            at += ascii;
                        }
                    }
                    break;
                }
                if (DropsControlCharacter(word))
                    found.plain = false;
                at += 8;
            }
            for (; at < end && *at < 0x80; ++at) {
                if (kDropped[*at])
                    found.plain = false;
            }
            continue;
        }
        const size_t left = static_cast<size_t>(end - at);
        // Japanese text: three-byte sequences whose lead byte needs no
        // further check, first.
        const auto isPlainJapanese = [](const unsigned char* from) {
            // Both continuation bytes at once; the mask reads the same in
            // either byte order.
            std::uint16_t continuation = 0;
            std::memcpy(&continuation, from + 1, sizeof continuation);
            return static_cast<unsigned char>(from[0] - 0xE1) <= 0xEC - 0xE1
                && (continuation & 0xC0C0u) == 0x8080u;
        };
        if (left >= 3 && isPlainJapanese(at)) {
            // A run of them, as such text comes.
            do
                at += 3;
            while (end - at >= 3 && isPlainJapanese(at));
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            if (left < 2 || !isContinuation(at[1]))
                return {false, false};
            at += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            if (left < 3 || !isContinuation(at[1]) || !isContinuation(at[2]) || (lead == 0xE0 && at[1] < 0xA0)
                || (lead == 0xED && at[1] > 0x9F))
                return {false, false};
            if (lead == 0xEF && ((at[1] == 0xBB && at[2] == 0xBF) || (at[1] == 0xBF && at[2] == 0xBD)))
                return {false, false};
            if (lead == 0xEF && at[1] == 0xBF && at[2] >= 0xBE)
                found.plain = false;
            at += 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            if (left < 4 || !isContinuation(at[1]) || !isContinuation(at[2]) || !isContinuation(at[3])
                || (lead == 0xF0 && at[1] < 0x90) || (lead == 0xF4 && at[1] > 0x8F))
                return {false, false};
            at += 4;
        } else {
            return {false, false};
        }
    }
    return found;
}

struct PreparedPage {
    std::string_view original;
    std::optional<std::string> repaired; // when the page had to be
    bool plain = false;                  // see PageCharacters

    std::string_view text() const { return repaired ? std::string_view(*repaired) : original; }
};

// Bytes that are not UTF-8 are left out, as a line holding them gave no
// text before (and libxml2 would read the rest of the page as Latin-1). A
// tag cut off at the end of a page that broke off is left out too, rather
// than completed with a truncated address.
PreparedPage PreparePage(std::string_view html)
{
    html = html.substr(0, html.find('\0'));
    const size_t lastOpen = html.rfind('<');
    if (lastOpen != std::string_view::npos) {
        const size_t lastClose = html.rfind('>');
        if (lastClose == std::string_view::npos || lastClose < lastOpen)
            html = html.substr(0, lastOpen);
    }
    const PageCharacters characters = ExamineCharacters(html);
    if (characters.roundTrips)
        return {html, std::nullopt, characters.plain};
    QString text = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
    text.remove(QChar::ReplacementCharacter);
    PreparedPage prepared{html, text.toStdString(), false};
    prepared.plain = ExamineCharacters(prepared.text()).plain;
    return prepared;
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
    constexpr int kOptions = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET
        | HTML_PARSE_NODEFDTD | HTML_PARSE_IGNORE_ENC;
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
    const PreparedPage page = PreparePage(html);
    if (page.text().empty())
        return {};
    LayoutWriter writer;
    if (page.plain && WriteRegularMarkup(page.text(), writer))
        return writer.finish();
    return LayoutByParser(page.text());
}

std::string NormalizePageLayout(std::string_view html)
{
    return JoinLines(LayoutPageLines(html));
}

std::string NormalizePageLayoutByParser(std::string_view html)
{
    return JoinLines(LayoutByParser(PreparePage(html).text()));
}

bool IsRegularMarkup(std::string_view html)
{
    const PreparedPage page = PreparePage(html);
    LayoutWriter writer;
    return page.plain && WriteRegularMarkup(page.text(), writer);
}
