#pragma once
// Whether the run may write its CSV file, asked before the run starts. The
// file itself is replaced only when the worker opens it, so a run that ends
// before that leaves an earlier file untouched.

#include <filesystem>

// True when path does not exist, or is a file that can be opened for writing
// (it is neither changed nor truncated here); false for a folder, a file
// without write permission, or a missing folder around it.
bool OutputFileReplaceable(const std::filesystem::path& path);
