#include "pages/PageText.h"

#include "text/CodePage932.h"

PageText::PageText(const PageLines& lines)
    : m_lines(lines)
    , m_text(lines.size())
    , m_converted(lines.size(), false)
{
    m_trimmed.reserve(lines.size());
    for (const std::string& line : lines) {
        std::string_view text = line;
        while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
            text.remove_prefix(1);
        while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
            text.remove_suffix(1);
        m_trimmed.push_back(text);
    }
}

const std::string& PageText::text(int k) const
{
    static const std::string kNone;
    if (!exists(k))
        return kNone;
    const auto at = static_cast<size_t>(k);
    if (!m_converted[at]) {
        m_text[at] = Utf8ToShiftJis(m_trimmed[at]);
        m_converted[at] = true;
    }
    return m_text[at];
}
