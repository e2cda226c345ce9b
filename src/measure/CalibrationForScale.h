#pragma once

#include "measure/CalFile.h"
#include "measure/RulerCalibration.h"

#include <optional>

namespace halvera {

// The calibration record that reproduces a fitted scale (units per pixel
// on each axis). A record keeps whole pixel sizes and the settings keep real
// sizes to eight decimals, up to 2000 each; so each axis takes the largest
// pixel size up to 2000 whose real size (pixel size times scale) stays within
// 2000, which leaves the most significant digits in the real size. Nothing
// when a scale is not positive or above 2000 units per pixel.
std::optional<CalibrationRecord> CalibrationForScale(int unit, MeasureScale scale);

} // namespace halvera
