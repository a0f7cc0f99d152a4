#include "pages/DetailPageParts.h"

#include "pages/HtmlTree.h"
#include "pages/LabelledRowReader.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <QByteArray>

#include <unordered_set>

namespace {

// <p class="msg_E">該当する情報はありません。</p>
bool IsDeletedPostingMessage(const xmlNode* node)
{
    static const std::string kNoMatchingPosting = Sjis("該当する情報は");
    return IsElement(node, "p") && HasClass(node, "msg_E")
        && ContainsText(Utf8ToShiftJis(SubtreeText(node)), kNoMatchingPosting);
}

bool IsPostingSheetMarker(const xmlNode* node)
{
    return IsElement(node, "input") && AttributeText(node, "id") == "ID_kjhyoKjKbn";
}

// Whether a browser sends the input when its form is submitted by script
// (no button pressed).
bool IsSubmitted(const xmlNode* input)
{
    const QByteArray type = QByteArray::fromStdString(AttributeText(input, "type")).trimmed().toLower();
    if (type == "submit" || type == "button" || type == "image" || type == "reset" || type == "file")
        return false;
    if ((type == "checkbox" || type == "radio") && !HasAttribute(input, "checked"))
        return false;
    return !HasAttribute(input, "disabled");
}

// A name or value as it goes into the address: blanks and control
// characters inside it (a value may span lines) percent-encoded, so that the
// address stays one line.
std::string QueryText(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : TrimText(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

// The inputs of the marker's form in document order; an input without a
// name or with an empty value is left out.
std::string PostingSheetQuery(const xmlNode* marker)
{
    const xmlNode* form = EnclosingElement(marker, "form");
    const xmlNode* scope = form ? form : marker->parent;
    std::string query;
    for (const xmlNode* node = scope->children; node; node = NextInTree(node, scope)) {
        if (!IsElement(node, "input") || !IsSubmitted(node))
            continue;
        const std::string name = QueryText(AttributeText(node, "name"));
        const std::string value = QueryText(AttributeText(node, "value"));
        if (!name.empty() && !value.empty())
            query += "&" + name + "=" + value;
    }
    return ReplaceAllText(Utf8ToShiftJis(query), "&#x2b;", "%2B");
}

} // namespace

DetailPageParts ReadDetailPageParts(std::string_view html)
{
    DetailPageParts parts;
    const HtmlDocument document = ParseHtmlPage(html);
    const xmlNode* root = RootElement(document);
    bool formSeen = false;
    std::unordered_set<const xmlNode*> spanned;
    for (const xmlNode* node = root; node; node = NextInTree(node, root)) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (IsDeletedPostingMessage(node)) {
            parts.deleted = true;
            break;
        }
        if (IsPostingSheetMarker(node) && parts.postingSheetQuery.empty()) {
            parts.postingSheetQuery = PostingSheetQuery(node);
            formSeen = true;
        } else if (IsElement(node, "tr")) {
            // The list of other postings below this one.
            if (HasClass(node, "kyujin_head"))
                break;
            const xmlNode* labelCell = LabelCellOf(node);
            if (labelCell && !spanned.contains(node)) {
                parts.rows.push_back(ReadLabelledRow(node, labelCell, spanned));
                parts.rows.back().belowForm = formSeen;
            }
        }
    }
    return parts;
}
