#pragma once

#include <string>

namespace halvera {

// The green read-outs of the warping tools, as UTF-8. Numbers are written
// with a decimal point whatever the user's locale.

// The zoom tool's scale factors with two decimals, separated by the
// full-width comma (U+FF0C) the tool has always shown:
// "(Horz = 1.50，Vert = 0.75)".
std::string ZoomReadout(double horizontal, double vertical);

// The rotate tool's committed angle, given in radians (0..2π), in degrees
// with three decimals: "(Angle = 90.000)". An angle a hair below a full turn
// reads "0.000", never "360.000".
std::string AngleReadout(double radians);

} // namespace halvera
