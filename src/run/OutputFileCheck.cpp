#include "run/OutputFileCheck.h"

#include <fstream>
#include <system_error>

namespace kenmori {

bool OutputFileReplaceable(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    // A file still to be made is the run's to create, or to report.
    if (status.type() == std::filesystem::file_type::not_found)
        return true;
    if (error || std::filesystem::is_directory(status))
        return false;
    // Opened for update, which neither creates nor truncates.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    return file.is_open();
}

} // namespace kenmori
