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
        const std::string_view trimmed = TrimmedView(line);
        m_trimmed.push_back(trimmed);
        const size_t start = m_text.size();
        AppendShiftJis(m_text, trimmed);
        m_spans.push_back({start, m_text.size() - start});
    }
}
