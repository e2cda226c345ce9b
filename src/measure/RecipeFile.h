#pragma once

#include "measure/InspectionRecipe.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvera {

// The recipe file: JSON with "format": "halvera-recipe" and "version": 1,
// then the calibration (with its preset's name when it has one, a field
// readers of version 1 pass over), the tolerance entries in use, the output
// items, the datum and the items in order (README, "Inspection recipes"). Item and
// datum numbers in the file count from 1, as the batch tool's do. Reals are
// written so that they read back to the same double, without locale.

inline constexpr std::string_view kRecipeFormat = "halvera-recipe";
inline constexpr int kRecipeVersion = 1;

std::string RecipeText(const InspectionRecipe& recipe);

// A recipe read back, or why it was refused.
struct RecipeRead {
    std::optional<InspectionRecipe> recipe;
    std::string problem;
};

// Refuses text that is not JSON, of another format, of a later version, a
// field missing or out of range, or a recipe that cannot run (RecipeFault),
// naming the first fault.
RecipeRead ParseRecipe(std::string_view text);
// Reads the file at `path`; one that cannot be opened is refused too.
RecipeRead ReadRecipeFile(const std::string& path);
// Replaces the file at `path` whole, or leaves it untouched and gives false.
bool WriteRecipeFile(const std::string& path, const InspectionRecipe& recipe);

} // namespace halvera
