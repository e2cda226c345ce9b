#pragma once

#include "image/AppSettings.h"
#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <string>

namespace halvera {

// What the status bar says about the image pixel under the pointer:
// "x=123 y=456 RGB(12,34,56)" (the pixel's column and row from the top left,
// and its red, green and blue values). With a calibration other than the
// default (unit "um", 100.0 real units over 100 pixels on both axes) it adds
// the position in the calibrated unit, x times the x scale and y times the
// y scale, three decimals whatever the locale: " (12.300, 45.600 um)".
// Empty when the pixel lies outside the image.
std::string PixelReadout(const CDibImage& image, PixelPoint pixel, const AppSettings& settings);

// Whether the calibration in `settings` is the one a fresh installation has.
bool IsDefaultCalibration(const AppSettings& settings);

} // namespace halvera
