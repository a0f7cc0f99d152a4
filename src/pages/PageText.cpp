#include "pages/PageText.h"

#include "text/CodePage932.h"
#include "text/TextUtils.h"

PageText::PageText(const PageLines& lines)
    : m_lines(lines)
{
    m_trimmed.reserve(lines.size());
    m_spans.reserve(lines.size());
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size();
    m_text.reserve(size);
    for (const std::string& line : lines) {
        m_trimmed.push_back(TrimmedView(line));
        m_spans.push_back({kNotConverted, 0});
    }
}

std::string_view PageText::convert(int k) const
{
    const auto at = static_cast<size_t>(k);
    const size_t start = m_text.size();
    AppendShiftJis(m_text, m_trimmed[at]);
    m_spans[at] = {start, m_text.size() - start};
    return std::string_view(m_text).substr(start);
}
