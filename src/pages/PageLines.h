#pragma once
// A downloaded page as the list of its lines, raw bytes as the site sent them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using PageLines = std::vector<std::string>;

// Splits at CR LF, a lone CR or a lone LF; a final line break adds no empty
// line. A NUL byte ends the text, as it would end a C string.
PageLines SplitPageLines(std::string_view text);

// A downloaded page in the readers' line layout, whatever layout it came in.
PageLines ReadPageLines(std::string_view html);

// The file's bytes; none when it is missing, unreadable or a folder.
std::string ReadPageFile(const std::filesystem::path& file);

// ReadPageLines of the file; none when it is missing, unreadable or empty.
PageLines LoadPageLines(const std::filesystem::path& file);
