#include "cli/CliOperation.h"

namespace halvera {

std::span<const CliOperation> ProcessingOperations() { return {}; }

} // namespace halvera
