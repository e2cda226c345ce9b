#pragma once

#include "acquire/ScannerBackend.h"

#include <memory>

namespace halvera {

// The scanner library of this platform (SANE). It reads its configuration
// from SANE_CONFIG_DIR, or the system's, when it is started.
std::unique_ptr<ScannerBackend> MakeSaneBackend();

} // namespace halvera
