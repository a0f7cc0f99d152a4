#pragma once
// The small text operations the field rules are written in. Page lines hold
// the site's UTF-8 bytes; a line becomes code page 932 text only where its
// text is examined (LineText). Every other text here is code page 932.

#include "pages/PageLines.h"
#include "pages/PageText.h"

#include <string>
#include <string_view>

bool LineExists(const PageLines& lines, int k);

// The line trimmed, raw bytes; empty for a line that does not exist.
std::string TrimmedLine(const PageLines& lines, int k);

// The first three bytes of the trimmed line equal head ("<th", "<br" ...).
bool HeadIs(const PageLines& lines, int k, std::string_view head);

// The whole trimmed line equals text.
bool TrimmedIs(const PageLines& lines, int k, std::string_view text);

// Bytes 2 to 4 of the trimmed line equal text ("/tr" of "</tr>").
bool MiddleIs(const PageLines& lines, int k, std::string_view text);

// A row label: the trimmed line starts with "<th".
bool IsLabelLine(const PageLines& lines, int k);

// The raw line holds an ASCII marker.
bool RawLineContains(const PageLines& lines, int k, std::string_view marker);

// The trimmed line as code page 932; a character without a code page 932
// form becomes "?".
std::string LineText(const PageLines& lines, int k);

// The same tests on a page whose lines are trimmed and converted once; the
// converted text is a reference into page.
bool LineExists(const PageText& page, int k);
std::string_view TrimmedLine(const PageText& page, int k);
bool HeadIs(const PageText& page, int k, std::string_view head);
bool TrimmedIs(const PageText& page, int k, std::string_view text);
bool MiddleIs(const PageText& page, int k, std::string_view text);
bool IsLabelLine(const PageText& page, int k);
bool RawLineContains(const PageText& page, int k, std::string_view marker);
const std::string& LineText(const PageText& page, int k);

// Tags removed, then trimmed.
std::string Cleaned(std::string_view text);

// From the first "</th>" (kept) to the end; the whole text without one.
std::string AfterLabel(std::string_view text);

// Every occurrence replaced, ASCII letters compared without case.
std::string Replace(std::string_view text, std::string_view from, std::string_view to);
std::string Remove(std::string_view text, std::string_view what);
bool Contains(std::string_view text, std::string_view what);

// Ideographic space, full-width dashes and digits to ASCII.
std::string WidthNormalised(std::string_view text);

// Wave dashes that arrived as "?" put back as "～".
std::string WaveDashRestored(std::string_view text);

// acc, separator, text; or just text while acc is empty. Empty text: no change.
void JoinWith(std::string& acc, std::string_view text, std::string_view separator);
// acc followed by text.
void AppendText(std::string& acc, std::string_view text);
// acc, one space, text, even while acc is empty. Empty text: no change.
void AppendWithSpace(std::string& acc, std::string_view text);
