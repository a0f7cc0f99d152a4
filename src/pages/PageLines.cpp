#include "pages/PageLines.h"

#include "pages/PageLayout.h"

#include <fstream>
#include <iterator>
#include <system_error>

PageLines SplitPageLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    PageLines lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

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

PageLines LoadPageLines(const std::filesystem::path& file)
{
    return ReadPageLines(ReadPageFile(file));
}

PageLines ReadPageLines(std::string_view html)
{
    return LayoutPageLines(html);
}
