#pragma once

#include "measure/InspectionSummary.h"
#include "measure/RecipeRun.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// The texts of the "Results across images" panel, which shows a recipe run
// over many pictures: one row per picture and value, and above them the
// statistics of each value. Numbers without locale, as the CSV writes them.

// Image, Item, Value, Verdict.
using AcrossImagesRow = std::array<std::string, 4>;
inline constexpr std::array<std::string_view, 4> kAcrossImagesColumns = {"Image", "Item", "Value",
                                                                         "Verdict"};

// The rows of one picture: a value's item is "3 Diameter", with the item's
// name after it when it has one; a picture failed as a whole gives one row
// whose verdict says why.
std::vector<AcrossImagesRow> AcrossImagesRows(std::string_view image,
                                              const InspectionRecipe& recipe,
                                              const PictureInspection& result);

// Item, n, mean, sd, min, max, Cp, Cpk: statistics with four decimals, Cp
// and Cpk only for a tolerance with both limits.
using SummaryRow = std::array<std::string, 8>;
inline constexpr std::array<std::string_view, 8> kSummaryColumns = {"Item", "n",   "mean", "sd",
                                                                    "min",  "max", "Cp",   "Cpk"};
std::vector<SummaryRow> SummaryRows(const InspectionRecipe& recipe,
                                    const std::vector<SummarisedValue>& summary);

} // namespace halvera
