#include "cli/CliOperation.h"

namespace halvera {

std::span<const CliOperation> WarpingOperations() { return {}; }

} // namespace halvera
