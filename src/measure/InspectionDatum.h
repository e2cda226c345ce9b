#pragma once

#include "image/DibImage.h"
#include "measure/InspectionRecipe.h"
#include "measure/PartFrame.h"

#include <optional>
#include <string>

namespace halvera {

// How far from where the recipe saw them the datum's edges are searched,
// unless the user asks otherwise: a part shifted by 20 pixels and turned by
// 5 degrees about a datum 230 pixels away still has its edges within reach.
inline constexpr double kDefaultDatumRadius = 40.0;

// Where the part lies, or why it was not found.
struct DatumSearch {
    std::optional<PartFrame> frame;
    std::string failure; // "datum not found: item 1 (edge-line): no edge ..."
};

// The frame the recipe's items are placed through: the picture's own axes
// for a recipe without a datum; otherwise the datum's edges searched on
// `picture` within `radius` pixels of where the recipe saw them, with the
// same searches as the edge items.
DatumSearch FindPart(CDibImage picture, const InspectionRecipe& recipe, double radius);

// Where the recipe saw the part: the frame its datum was placed at.
PartFrame PlacedFrame(const RecipeDatum& datum);

} // namespace halvera
