#pragma once

#include "image/CalibrationRecord.h"

#include <optional>
#include <string>

namespace halvera {

// The calibration as the status bar shows it: "10x objective · 0.2000 um/px"
// for a preset, "0.2000 um/px" for values set otherwise, "0.2000 x 0.2500
// um/px" when the axes differ, and "uncalibrated · 1 px" for the defaults.
std::string CalibrationStatusText(const NamedCalibration& calibration);

// Where a document's own calibration came from.
enum class CalibrationSource { Picture, Measurements };

// What the status bar says about a calibration a picture or its measurements
// carry: nothing when there is none or it is the one in force, else that
// they differ and where to use it: "The picture carries 0.2000 um/px, not
// the uncalibrated · 1 px in force (Setting, Use the picture's calibration)".
std::string OwnCalibrationNotice(const std::optional<NamedCalibration>& own,
                                 const NamedCalibration& inForce, CalibrationSource source);

} // namespace halvera
