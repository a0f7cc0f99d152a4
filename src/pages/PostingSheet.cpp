#include "pages/PostingSheet.h"

#include "site/SitePaths.h"

#include <string>

namespace kenmori {

std::string PostingSheetUrl(std::string_view baseAddress, std::string_view query)
{
    // The fixed parameter is the site's button caption "求人票を表示", UTF-8
    // percent-encoded.
    return std::string(baseAddress) + std::string(kPostingSheetPath)
        + "?&kyujinhyoBtn=%E6%B1%82%E4%BA%BA%E7%A5%A8%E3%82%92%E8%A1%A8%E7%A4%BA" + std::string(query);
}

} // namespace kenmori
