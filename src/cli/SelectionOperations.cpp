#include "cli/CliOperation.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "image/RegionOfInterest.h"
#include "view/CropToSelection.h"

#include <array>

namespace halvera {

namespace {

// "Crop": whitens every pixel outside the selection (--mask). Without a region
// nothing changes and no undo step is taken; the image is written as read.
bool RunCrop(CMavDoc& doc) {
    if (!MaskHasRegion(doc.mask()))
        return true;
    return RunImageCommand(doc, false, [&] { return CropToSelection(doc.image(), doc.mask()); });
}

constexpr std::array kOperations = {
    CliOperation{"crop", "crop", &WithoutArguments<&RunCrop>},
};

} // namespace

std::span<const CliOperation> SelectionOperations() {
    return kOperations;
}

} // namespace halvera
