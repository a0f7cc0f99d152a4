#pragma once
// The line tests and accumulators the field rules are written in, beside the
// text utilities (ReplaceAllText, RemoveAllText, ContainsText ...) they use
// for text. Page lines hold the site's UTF-8 bytes; a line becomes code page
// 932 text only where its text is examined (LineText).

#include "pages/PageLines.h"
#include "pages/PageText.h"
#include "text/TextUtils.h"

#include <string>
#include <string_view>

// Tests on a page whose lines are trimmed and converted once: whether line k
// exists; the trimmed line (raw bytes); its first three bytes ("<th", "<br"
// ...), the whole of it, or bytes 2 to 4 ("/tr" of "</tr>") equal a text; a
// row label (starts with "<th"); the raw line holds an ASCII marker; the
// trimmed line as code page 932 (a character without a code page 932 form
// becomes "?"), a reference into page.
// The scan asks these of every line, often several times: they are inline.
inline bool LineExists(const PageText& page, int k)
{
    return page.exists(k);
}
inline std::string_view TrimmedLine(const PageText& page, int k)
{
    return page.trimmed(k);
}
inline bool HeadIs(const PageText& page, int k, std::string_view head)
{
    return SameShortText(page.trimmed(k).substr(0, 3), head);
}
inline bool TrimmedIs(const PageText& page, int k, std::string_view text)
{
    return SameShortText(page.trimmed(k), text);
}
inline bool MiddleIs(const PageText& page, int k, std::string_view text)
{
    const std::string_view line = page.trimmed(k);
    return line.size() >= 2 && SameShortText(line.substr(1, 3), text);
}
inline bool IsLabelLine(const PageText& page, int k)
{
    return HeadIs(page, k, "<th");
}
bool RawLineContains(const PageText& page, int k, std::string_view marker);
inline std::string_view LineText(const PageText& page, int k)
{
    return page.text(k);
}

// Tags removed, then trimmed.
std::string Cleaned(std::string_view text);
std::string Cleaned(std::string text);

// From the first "</th>" (kept) to the end; the whole text without one. A
// view into text.
std::string_view AfterLabel(std::string_view text);

// Wave dashes that arrived as "?" put back as "～".
std::string WaveDashRestored(std::string_view text);

// acc, separator, text; or just text while acc is empty. Empty text: no change.
void JoinWith(std::string& acc, std::string_view text, std::string_view separator);
// acc followed by text.
void AppendText(std::string& acc, std::string_view text);
// acc, one space, text, even while acc is empty. Empty text: no change.
void AppendWithSpace(std::string& acc, std::string_view text);
