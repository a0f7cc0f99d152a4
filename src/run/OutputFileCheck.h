#pragma once
// Whether the run may write its CSV file, asked before the run starts. The
// file itself is replaced only when the run opens it, so a run that ends
// before that leaves an earlier file untouched.

#include <filesystem>

namespace kenmori {

// True when path does not exist (creating it is the run's, which reports
// a failure), or is a file that can be opened for writing (it is neither
// changed nor truncated here); false for a folder or a file that cannot be
// written.
bool OutputFileReplaceable(const std::filesystem::path& path);

} // namespace kenmori
