#pragma once

#include <string>

namespace halvera {

// A number as "%0.3f" writes it in the C locale (a point, never a comma,
// whatever the user's locale): the form of every measured value on labels,
// in the results and in files.
std::string FormatMeasureValue(double value);

// A number with `decimals` decimals, likewise ("%.6f" for the calibration's scale factors).
std::string FormatDecimals(double value, int decimals);

} // namespace halvera
