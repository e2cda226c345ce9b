#include "cli/CliOperation.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"

#include <array>

namespace halvera {

namespace {

// Runs the image-command pattern with an operation that changes nothing, so
// the document goes through the same steps as with any other operation and is
// saved as it was read.
bool RunNone(CMavDoc& doc) {
    return RunImageCommand(doc, false, [] {});
}

constexpr std::array kOperations = {
    CliOperation{"none", "none", &WithoutArguments<&RunNone>},
};

} // namespace

std::span<const CliOperation> ImageCoreOperations() {
    return kOperations;
}

} // namespace halvera
