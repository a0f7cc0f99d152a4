#pragma once
// Turns the city names typed into editCity into the site's city codes for the
// prefecture of choice 1. Nothing here shows a message: the result carries the
// text and title that the window shows. Texts are code page 932.

#include <cstddef>
#include <string>
#include <string_view>

namespace kenmori {

class ReferenceDatabase;

// Any value but Resolved stops the run before it starts.
enum class CityResolutionCode {
    Resolved = 0,
    TooManyNames = 2,
    UnmatchedNames = 3,
    DatabaseError = 4,
};

struct CityResolutionResult {
    CityResolutionCode code = CityResolutionCode::Resolved;
    // One code per resolved name, "%2.2d" prefecture + city number, joined by
    // "%2C" (13101%2C13102). Holds the found codes also when some names failed.
    std::string cityCodes;
    std::string message; // empty when resolved
    std::string title;
};

inline constexpr std::size_t kMaxCityNames = 5;

// cityText: the trimmed content of editCity; region1: the item index of
// cmbRegion1, which equals the prefecture code. An empty text resolves to no
// codes without touching the database.
CityResolutionResult ResolveCityCodes(ReferenceDatabase& database, std::string_view cityText, int region1);

} // namespace kenmori
