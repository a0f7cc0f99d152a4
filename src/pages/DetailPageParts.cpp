#include "pages/DetailPageParts.h"

#include "pages/FormSubmission.h"
#include "pages/HtmlTree.h"
#include "pages/LabelledRowReader.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <unordered_set>

namespace kenmori {

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

// The marker's form as a browser submits it by script, values with their
// references as written; a field with an empty value is left out. A marker
// outside any form takes the inputs around it.
std::string PostingSheetQuery(const xmlNode* marker, const xmlNode* root)
{
    const xmlNode* form = EnclosingElement(marker, "form");
    const std::vector<FormField> fields = FormDataSet(form, form ? root : marker->parent, nullptr);
    std::string query;
    for (const FormField& field : fields) {
        const std::string name = QueryText(field.name);
        const std::string value = QueryText(field.value);
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
            parts.postingSheetQuery = PostingSheetQuery(node, root);
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

} // namespace kenmori
