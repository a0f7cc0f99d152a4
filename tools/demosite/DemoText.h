#pragma once
// Small UTF-8 text helpers of the demonstration site.

#include <string>
#include <string_view>
#include <vector>

namespace kenmori {

// ASCII digits and "-" as their full-width forms, the way the site prints
// addresses, times and counts.
std::string FullWidth(std::string_view text);

// Full-width digits, full-width hyphen-minus and hyphen as ASCII, the
// ideographic space as an ASCII space: the width normalisation that the
// product applies to some fields.
std::string Narrow(std::string_view text);

// A value as the product's CSV carries it: ideographic spaces made ASCII
// spaces, runs of spaces shortened to one, blanks at both ends removed.
std::string CsvForm(std::string_view text);

// 1234567 as "1,234,567".
std::string GroupDigits(long long value);

// Every occurrence of from replaced by to, left to right.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The texts joined with separator between them.
std::string Join(const std::vector<std::string>& texts, std::string_view separator);

// The pieces between ASCII and ideographic spaces, empty ones dropped.
std::vector<std::string> SplitWords(std::string_view text);

// Decimal value of a text made only of ASCII digits; -1 for anything else.
long long DigitsValue(std::string_view text);

} // namespace kenmori
