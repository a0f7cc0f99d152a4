#pragma once
// A downloaded page as the readers take it: the file's bytes as the site
// sent them.

#include <filesystem>
#include <string>

namespace kenmori {

// The file's bytes; none when it is missing, unreadable or a folder.
std::string ReadPageFile(const std::filesystem::path& file);

} // namespace kenmori
