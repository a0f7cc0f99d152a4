#include "pages/LabelledRows.h"

#include "pages/DetailLabels.h"
#include "pages/LabelledRowReader.h"
#include "text/CodePage932.h"
#include "text/TextUtils.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace kenmori {

namespace {

// Elements that start a line of their own in a browser.
bool IsBlockElement(std::string_view name)
{
    static constexpr std::array<std::string_view, 42> kBlocks = {
        "address", "article", "aside", "blockquote", "caption",    "center",  "dd",      "details", "dir",
        "div",     "dl",      "dt",    "fieldset",   "figcaption", "figure",  "footer",  "form",    "h1",
        "h2",      "h3",      "h4",    "h5",         "h6",         "header",  "hr",      "legend",  "li",
        "main",    "nav",     "ol",    "p",          "pre",        "section", "summary", "table",   "tbody",
        "td",      "tfoot",   "th",    "thead",      "tr",         "ul",
    };
    return std::find(kBlocks.begin(), kBlocks.end(), name) != kBlocks.end();
}

// Elements whose content a reader of the page never sees as text.
bool GivesNoText(std::string_view name)
{
    return name == "script" || name == "style" || name == "noscript" || name == "template" || name == "button"
        || name == "select" || name == "textarea" || name == "iframe" || name == "object" || name == "head"
        || name == "title";
}

bool IsCaptionElement(const xmlNode* element)
{
    return HasClass(element, "label") || HasClassStartingWith(element, "fs08");
}

// Collects the blocks of one or more cells.
class BlockReader {
public:
    explicit BlockReader(std::vector<RowBlock>& blocks)
        : m_blocks(blocks)
    {
    }

    // Every cell is a block of its own; a caption cell (a further <th>) makes
    // captions of its blocks.
    void readCell(const xmlNode* cell, bool captionCell)
    {
        m_cell = cell;
        m_captionCell = captionCell;
        own(cell);
        const xmlNode* node = cell->children;
        while (node) {
            const bool entered = enter(node);
            if (entered && node->children) {
                node = node->children;
                continue;
            }
            if (entered)
                leave(node);
            while (node && !node->next) {
                node = node->parent;
                if (node == cell)
                    node = nullptr;
                else
                    leave(node);
            }
            if (node)
                node = node->next;
        }
        finish();
    }

private:
    // Whether the node's children are read.
    bool enter(const xmlNode* node)
    {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content)
                addText(reinterpret_cast<const char*>(node->content));
            return false;
        }
        const std::string_view name = ElementName(node);
        if (name.empty() || GivesNoText(name))
            return false;
        if (name == "br") {
            finish();
            m_afterBreak = true;
            return false;
        }
        if (name == "tr" && LabelCellOf(node))
            return false; // a row of its own
        if (IsBlockElement(name)) {
            finish();
            own(node);
        }
        return true;
    }

    void leave(const xmlNode* node)
    {
        if (!IsBlockElement(ElementName(node)))
            return;
        finish();
        // What follows belongs to the block around the one that ended.
        const xmlNode* owner = node->parent;
        while (owner != m_cell && !IsBlockElement(ElementName(owner)))
            owner = owner->parent;
        own(owner);
    }

    // The element whose block the next text is.
    void own(const xmlNode* element)
    {
        m_afterBreak = false;
        m_ownerCaption = m_captionCell || (element != m_cell && IsCaptionElement(element));
        m_inGroup = false;
        m_marks.clear();
        for (const xmlNode* up = element;; up = up->parent) {
            m_inGroup = m_inGroup || HasClass(up, "flex");
            for (const char* attribute : {"id", "name"}) {
                std::string mark = AttributeText(up, attribute);
                if (!mark.empty())
                    m_marks.push_back(std::move(mark));
            }
            if (up == m_cell)
                break;
        }
    }

    // Runs of blanks and line breaks show as one space; a no-break space as a
    // space of its own.
    void addText(std::string_view utf8)
    {
        for (size_t at = 0; at < utf8.size(); ++at) {
            const auto byte = static_cast<unsigned char>(utf8[at]);
            if (byte <= 0x20 || byte == 0x7F) {
                m_spacePending = !m_pending.empty();
                continue;
            }
            if (m_spacePending) {
                m_pending += ' ';
                m_spacePending = false;
            }
            if (byte == 0xC2 && at + 1 < utf8.size() && static_cast<unsigned char>(utf8[at + 1]) == 0xA0) {
                m_pending += ' ';
                ++at;
            } else {
                m_pending += static_cast<char>(byte);
            }
        }
    }

    void finish()
    {
        std::string text = TrimText(Utf8ToShiftJisWithReferences(m_pending));
        m_pending.clear();
        m_spacePending = false;
        if (text.empty())
            return;
        RowBlock block;
        // A known caption text is a caption when it stands in an element of
        // its own, not as the value of the caption before it ("週休二日制",
        // then "その他").
        const bool valueOfCaption = !m_blocks.empty() && m_blocks.back().caption;
        block.caption = m_ownerCaption || (!m_afterBreak && !valueOfCaption && IsCaptionText(text));
        block.text = std::move(text);
        block.afterBreak = m_afterBreak;
        block.inGroup = m_inGroup;
        block.marks = m_marks;
        m_blocks.push_back(std::move(block));
        m_afterBreak = false;
    }

    std::vector<RowBlock>& m_blocks;
    const xmlNode* m_cell = nullptr;
    bool m_captionCell = false;
    std::string m_pending; // UTF-8
    bool m_spacePending = false;
    bool m_afterBreak = false;
    bool m_ownerCaption = false;
    bool m_inGroup = false;
    std::vector<std::string> m_marks;
};

bool IsCell(const xmlNode* node)
{
    return IsElement(node, "td") || IsElement(node, "th");
}

int RowSpan(const xmlNode* cell)
{
    const std::string text = AttributeText(cell, "rowspan");
    int span = 1;
    std::from_chars(text.data(), text.data() + text.size(), span);
    // A page cannot make one label take the rest of the page.
    return std::clamp(span, 1, 50);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && SameTextIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace

bool IsCaptionText(std::string_view text)
{
    static const std::vector<std::string> kCaptions = [] {
        std::vector<std::string> captions;
        for (const char* caption : {"役職",         "代表者名",         "年齢制限",
                                    "年齢制限範囲", "年齢制限該当事由", "年齢制限の理由",
                                    "就業場所",     "最寄り駅",         "最寄り駅から就業場所までの交通手段",
                                    "所要時間",     "免許・資格名",     "転勤の可能性の有無",
                                    "マイカー通勤", "就業形態",         "電話番号",
                                    "ＦＡＸ",       "Ｅメール",         "休日",
                                    "週休二日制",   "その他",           "６ヶ月経過後の年次有給休暇日数",
                                    "企業全体",     "うち女性",         "うちパート"})
            captions.push_back(Sjis(caption));
        return captions;
    }();
    return std::find(kCaptions.begin(), kCaptions.end(), text) != kCaptions.end();
}

std::string RowLine::text() const
{
    if (caption.empty())
        return value;
    if (value.empty())
        return caption;
    return caption + " " + value;
}

std::string RowLine::textWithout(std::string_view captionText) const
{
    return hasCaption(captionText) ? value : text();
}

bool RowLine::hasMark(std::string_view suffix) const
{
    return std::any_of(marks.begin(), marks.end(),
                       [&](const std::string& mark) { return EndsWithIgnoringCase(mark, suffix); });
}

std::vector<RowLine> RowLines(const LabelledRow& row)
{
    std::vector<RowLine> lines;
    const std::vector<RowBlock>& blocks = row.blocks;
    for (size_t at = 0; at < blocks.size(); ++at) {
        const RowBlock& block = blocks[at];
        RowLine line;
        line.afterBreak = block.afterBreak;
        line.inGroup = block.inGroup;
        line.marks = block.marks;
        if (!block.caption) {
            line.value = block.text;
        } else {
            line.caption = block.text;
            // The caption's value is the block right after it, unless that
            // is a caption itself or a continuation after a <br>.
            if (at + 1 < blocks.size() && !blocks[at + 1].caption && !blocks[at + 1].afterBreak) {
                ++at;
                line.value = blocks[at].text;
                line.marks.insert(line.marks.end(), blocks[at].marks.begin(), blocks[at].marks.end());
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

const xmlNode* LabelCellOf(const xmlNode* tr)
{
    for (const xmlNode* child = tr->children; child; child = child->next) {
        if (IsElement(child, "th"))
            return child;
    }
    return nullptr;
}

LabelledRow ReadLabelledRow(const xmlNode* tr, const xmlNode* labelCell,
                            std::unordered_set<const xmlNode*>& spanned)
{
    LabelledRow row;
    std::vector<RowBlock> labelBlocks;
    BlockReader(labelBlocks).readCell(labelCell, false);
    std::string label;
    for (const RowBlock& block : labelBlocks)
        label += block.text;
    row.label = AliasedLabel(std::move(label));

    BlockReader cells(row.blocks);
    for (const xmlNode* cell = labelCell->next; cell; cell = cell->next) {
        if (IsCell(cell))
            cells.readCell(cell, IsElement(cell, "th"));
    }
    int more = RowSpan(labelCell) - 1;
    for (const xmlNode* next = tr->next; next && more > 0; next = next->next) {
        if (!IsElement(next, "tr"))
            continue;
        spanned.insert(next);
        for (const xmlNode* cell = next->children; cell; cell = cell->next) {
            if (IsCell(cell))
                cells.readCell(cell, IsElement(cell, "th"));
        }
        --more;
    }
    return row;
}

} // namespace kenmori
