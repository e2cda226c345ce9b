#pragma once

#include <string>
#include <vector>

namespace halvera {

// `halvera-cli recipe MEASUREMENTS OUT [OPTIONS]`: the inspection recipe
// made from a measurement file's items, as the desktop program's "Save as
// recipe..." makes it from an image's items.
int RunRecipeCommand(const std::vector<std::string>& words);
std::string RecipeCommandUsage();

} // namespace halvera
