#pragma once

#include <string>
#include <vector>

namespace halvera {

// Runs `calibrate IMAGE --spacing REAL [--unit U] [--axis x|y|both]
// [--save-cal FILE]` on the words after the command's name: finds the ticks
// of a stage micrometer in the picture along each axis asked for, fits their
// period (MicrometerTicks.h) and prints "x scale = S" and/or "y scale = S",
// S = spacing / period in units per pixel to 9 significant digits.
// --save-cal writes a .Cal that reproduces the scale (CalibrationForScale.h;
// with one axis the other takes the same scale, as square pixels have it).
// Every option is checked before the picture is read.
int RunCalibrateCommand(const std::vector<std::string>& words);

// The usage lines of the calibrate command.
std::string CalibrateCommandUsage();

} // namespace halvera
