#pragma once
// The choices of the window's drop-down lists, shared by the window and
// kenmori-cli so that both accept the same names. UTF-8 texts in item order;
// the lists that start with a blank item (index 0, "no condition") hold only
// the named items here, so name i has item index i + 1.

#include <array>

namespace kenmori {

inline constexpr int kPrefectureCount = 48; // 47 prefectures in code order, then abroad
inline constexpr int kOfferTypeCount = 9;
inline constexpr int kJobHakenCount = 3;
inline constexpr int kJobTypeCount = 14;
inline constexpr int kIndustryDivisionCount = 99; // name i is division i + 1

// Items of each window list, its blank first item included where it has one;
// a stored index at or beyond these selects nothing.
inline constexpr int kRegionItemCount = kPrefectureCount + 1;
inline constexpr int kJobCheckItemCount = kOfferTypeCount;
inline constexpr int kJobHakenItemCount = kJobHakenCount + 1;
inline constexpr int kJobTypeItemCount = kJobTypeCount + 1;
inline constexpr int kJobIndustryItemCount = kIndustryDivisionCount + 1;

const std::array<const char*, kPrefectureCount>& PrefectureNames();
const std::array<const char*, kOfferTypeCount>& OfferTypeNames(); // index 0 is a real choice
const std::array<const char*, kJobHakenCount>& JobHakenNames();
const std::array<const char*, kJobTypeCount>& JobTypeNames();
const std::array<const char*, kIndustryDivisionCount>& IndustryDivisionNames();

} // namespace kenmori
