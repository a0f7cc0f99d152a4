#pragma once
// How the field rules put a value together from the lines of a row.

#include <string>
#include <string_view>

namespace kenmori {

// Wave dashes that arrived as "?" (U+301C has no code page 932 form) put
// back as "～"; in UTF-8 output, such a character stays itself.
std::string WaveDashRestored(std::string_view text);

// acc, separator, text; or just text while acc is empty. Empty text: no change.
void JoinWith(std::string& acc, std::string_view text, std::string_view separator);
// acc, one space, text, even while acc is empty. Empty text: no change.
void AppendWithSpace(std::string& acc, std::string_view text);

} // namespace kenmori
