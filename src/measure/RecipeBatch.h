#pragma once

#include "image/DibImage.h"
#include "measure/RecipeRun.h"

#include <cstddef>
#include <functional>
#include <string>

namespace halvera {

// One picture of a batch as its loader hands it over: the picture (owned in
// `block`, or lent by the caller), or why it could not be had.
struct LoadedPicture {
    DibBlock block;
    CDibImage picture;
    std::string failure;
};

// Gives picture `index`; called on the batch's worker threads.
using PictureLoader = std::function<LoadedPicture(size_t index)>;
// Takes the result of picture `index`, on the calling thread and in input
// order; false stops the batch (Cancel).
using InspectionReport = std::function<bool(size_t index, const PictureInspection& result)>;

// Runs `recipe` on `count` pictures, `jobs` of them at once. Each worker
// loads a picture, measures it and lets it go before it takes the next, so
// only the pictures being measured are held; the workers keep at most two
// results per worker ahead of the one reported next, so a slow picture holds
// back no more than that. The results reach `report` in input order
// whatever `jobs` is, so the output does not depend on it. Returns when
// every picture is reported or `report` stopped the batch (after the
// pictures being measured are done); false when it was stopped.
bool InspectPictures(const InspectionRecipe& recipe, const InspectionSettings& settings,
                     size_t count, int jobs, const PictureLoader& load,
                     const InspectionReport& report);

} // namespace halvera
