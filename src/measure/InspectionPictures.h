#pragma once

#include "measure/RecipeBatch.h"

#include <string>

namespace halvera {

// Reads the picture file at `path` as a 24-bit picture for a recipe run, on
// any thread: what the readers would say in a message (a file that cannot be
// opened, a kind that is not read) becomes the picture's failure instead, so
// a batch running off the window thread opens no window.
LoadedPicture LoadInspectionPicture(const std::string& path);

} // namespace halvera
