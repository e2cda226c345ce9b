#include "cli/CliOperation.h"

namespace halvera {

std::span<const CliOperation> ImageCoreOperations() { return {}; }

} // namespace halvera
