#include "pages/PageFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace kenmori {

std::string ReadPageFile(const std::filesystem::path& file)
{
    // A folder would open, but reading it throws.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace kenmori
