#include "cli/CliOperation.h"

namespace halvera {

std::span<const CliOperation> SelectionOperations() { return {}; }

} // namespace halvera
