#pragma once

#include "image/CalibrationRecord.h"

#include <optional>
#include <string>

namespace halvera {

// The calibration as the status bar shows it: "10x objective · 0.2000 um/px"
// for a preset, "0.2000 um/px" for values set otherwise, "0.2000 x 0.2500
// um/px" when the axes differ, and "uncalibrated · 1 px" for the defaults.
std::string CalibrationStatusText(const NamedCalibration& calibration);

// What the status bar says about a calibration a picture or its measurements
// carry (`source`: "picture", "measurements"): nothing when there is none or
// it is the one in force, else that they differ and where to use it.
std::string OwnCalibrationNotice(const std::optional<NamedCalibration>& own,
                                 const NamedCalibration& inForce, const std::string& source);

} // namespace halvera
