#pragma once
// A page's lines as the detail readers examine them: each line trimmed and
// converted to code page 932 once, all into one buffer. The rules look at the
// same lines many times over (a window reads up to 80 lines past its label,
// and the page scan visits those lines again).

#include "pages/PageLines.h"

#include <string>
#include <string_view>
#include <vector>

class PageText {
public:
    explicit PageText(const PageLines& lines);

    int size() const { return static_cast<int>(m_trimmed.size()); }
    bool exists(int k) const { return k >= 0 && k < size(); }
    // The line as the site sent it; empty for a line that does not exist.
    std::string_view raw(int k) const
    {
        return exists(k) ? std::string_view(m_lines[static_cast<size_t>(k)]) : std::string_view();
    }
    // The line trimmed, raw bytes; empty for a line that does not exist.
    std::string_view trimmed(int k) const
    {
        return exists(k) ? m_trimmed[static_cast<size_t>(k)] : std::string_view();
    }
    // The trimmed line as code page 932 (a character without a code page
    // 932 form becomes "?"); empty for a line that does not exist or is not
    // UTF-8.
    std::string_view text(int k) const
    {
        if (!exists(k))
            return {};
        const Span span = m_spans[static_cast<size_t>(k)];
        return std::string_view(m_text).substr(span.start, span.size);
    }

private:
    struct Span {
        size_t start;
        size_t size;
    };

    const PageLines& m_lines;
    std::vector<std::string_view> m_trimmed;
    std::string m_text; // the converted lines, one after another
    std::vector<Span> m_spans;
};
