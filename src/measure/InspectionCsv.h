#pragma once

#include "measure/InspectionSummary.h"
#include "measure/RecipeRun.h"

#include <string>
#include <string_view>
#include <vector>

namespace halvera {

// The CSV texts of a recipe run over many pictures, for the batch tool's
// --csv and --summary and the "Results across images" panel's export.
// Numbers as "%0.3f" without locale; a field holding a comma, a quote or a
// line break is quoted.

// The decimals of the statistics (mean, sd, min, max, Cp, Cpk) wherever
// they are shown.
inline constexpr int kStatisticDecimals = 4;

// "3 Diameter": the item's number from 1 and the value's name.
std::string ValueLabel(const InspectedValue& value);
std::string ValueLabel(int item, int dataItem);

// Image,Item,Kind,Name,Value,Standard,Upper,Lower,Verdict
std::string InspectionCsvHeader();
// The rows of one picture: one per value, or one row "Failed: REASON" for
// a picture failed as a whole.
std::string InspectionCsvRows(std::string_view image, const InspectionRecipe& recipe,
                              const PictureInspection& result);

// Item,Kind,Name,n,mean,sd,min,max,Cp,Cpk: one row per value; statistics
// with four decimals, empty where there are none.
std::string InspectionSummaryCsv(const InspectionRecipe& recipe,
                                 const std::vector<SummarisedValue>& summary);

// A CSV field as written: quoted when it must be.
std::string CsvField(std::string_view text);

} // namespace halvera
