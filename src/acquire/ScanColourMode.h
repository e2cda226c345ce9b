#pragma once

#include "acquire/ScanOption.h"

#include <optional>
#include <string>
#include <vector>

namespace halvera {

// The program's images are colour images, and a scan in grey is refused
// ("Please scan 24 bits image"); yet many scanners start in a grey mode.
// This is the mode to switch such a scanner to: "Color" when it offers that,
// else the first offered mode that names colour. Nothing when the scanner has
// no mode to set, already scans in colour, or offers no colour.
std::optional<std::string> ColourModeToChoose(const std::vector<ScanOption>& options);

} // namespace halvera
