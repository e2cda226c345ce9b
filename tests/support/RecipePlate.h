#pragma once

#include "PartPictures.h"
#include "document/MeasureData.h"
#include "measure/InspectionRecipe.h"
#include "measure/RecipeFromItems.h"

namespace halvera::testing {

// The plate as the inspection tests lay it out: a 900 x 700 picture with
// the plate's datum corner at (200, 520), unturned, slightly blurred.
inline constexpr int kPlatePictureWidth = 900;
inline constexpr int kPlatePictureHeight = 700;
inline const PartFrame kPlatePlaced{{200.0, 520.0}, {1.0, 0.0}};
Look PlateLook(uint64_t seed = 1);

// What an inspector measures on the plate lying at `pose`, with the edge
// searches the tools use: the edge point on the right side (item 1), the
// reference edge along the bottom (2), the left side (3), the width across
// the plate (4) and the bore (5).
MeasureData MeasurePlate(CDibImage picture, const PartFrame& pose);

// Indices (from 0) of those items in a recipe made from them.
inline constexpr int kRightSideItem = 0;
inline constexpr int kBottomEdgeItem = 1;
inline constexpr int kLeftSideItem = 2;
inline constexpr int kWidthItem = 3;
inline constexpr int kBoreItem = 4;

// The recipe saved from those items measured on the placed plate, with the
// bottom edge and the left side (or the right side's edge point) as its
// datum, every value output and a Diameter tolerance of 120 +0.1/-0.1.
InspectionRecipe PlateRecipe(bool pointOrigin = false);

} // namespace halvera::testing
