#pragma once
// A page's lines as the detail readers examine them: each line trimmed once,
// and converted to code page 932 once, on first use, into one buffer. The rules look at the
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
        if (span.start == kNotConverted)
            return convert(k);
        return std::string_view(m_text).substr(span.start, span.size);
    }

private:
    struct Span {
        size_t start;
        size_t size;
    };
    static constexpr size_t kNotConverted = static_cast<size_t>(-1);

    std::string_view convert(int k) const;

    const PageLines& m_lines;
    std::vector<std::string_view> m_trimmed;
    // The converted lines, one after another as they are asked for. Room for
    // every line is set aside at the start, and a converted line is never
    // longer than the line, so the text never moves.
    mutable std::string m_text;
    mutable std::vector<Span> m_spans;
};
