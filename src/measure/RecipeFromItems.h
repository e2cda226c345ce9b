#pragma once

#include "document/MeasureData.h"
#include "image/DibImage.h"
#include "measure/InspectionRecipe.h"

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// Making a recipe from items measured on one picture ("Save as recipe...",
// `halvera-cli recipe`).

// The items of `data` as recipe items in picture pixels, in the order a
// measurement file lists them: points, lines, circles, rectangles, angles,
// then point pairs. Items made from edges become edge items: a line made
// from edges is a width when the width measurement along it on `picture`
// gives it again, an edge-line otherwise (and always without a picture).
std::vector<RecipeItem> RecipeItemsOf(const MeasureData& data, CDibImage picture);

// Which items (from 0) make the datum: an edge-line and an edge-point or a
// second edge-line.
struct DatumChoice {
    int line = -1;
    int origin = -1;
};

// The tolerance entries of `table` the user has set: an entry left all zero
// judges nothing yet.
std::vector<RecipeTolerance> TolerancesInUse(const ToleranceTable& table);

// What a recipe is made of besides its items.
struct RecipeSettings {
    CalibrationRecord calibration;
    std::vector<RecipeTolerance> tolerances;
    OutputSelection output;
    std::string preset; // the calibration preset's name, if any
};

// The recipe, or why it cannot be made.
struct MadeRecipe {
    std::optional<InspectionRecipe> recipe;
    std::string problem;
};

// The recipe of `items` (in picture pixels): with a datum, the datum's
// frame is found from its items' measured geometry and every item's points
// are taken into it. A width's segment is lengthened at both ends so that
// a search along it starts and ends clear of the edges it measured.
MadeRecipe MakeRecipe(std::vector<RecipeItem> items, const std::optional<DatumChoice>& datum,
                      const RecipeSettings& settings);

} // namespace halvera
