#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <optional>

namespace halvera {

// The axis along which a micrometer's ticks follow one another: X for ticks
// that run up and down, spaced along the rows; Y for ticks that run across,
// spaced down the columns.
enum class TickAxis { X, Y };

struct TickPeriod {
    double period = 0.0;   // pixels from one tick to the next, square to the ticks
    int ticks = 0;         // distinct ticks in the fit
    double residual = 0.0; // RMS distance of the tick centres from the fitted comb, pixels
};

// The period of a stage micrometer's ticks (dark or light lines, evenly
// spaced, at least kFewestTicks of them) in `box` of the picture (corners
// included), to a small fraction of a pixel.
//
// The box is cut across the ticks into bands (of 32 pixels, at most 8), and
// each band averaged along the ticks into a profile. The autocorrelation
// of the profiles gives the period roughly (its first peak that reaches
// 0.8 of the highest, and at least kClearPeriod); the polarity is the side
// on which the levels stray furthest from their median. Each tick's centre
// is the point that halves its area (its difference from the background)
// within a window of one period centred on that point: a symmetric tick then
// gives its centre exactly, whatever its blur or the background's level, and
// a sharp one does so on the samples themselves (see TickCentre). The centres of all bands are
// fitted by least squares as x = a + period * index + tilt * y, which takes a micrometer laid a
// little askew; the period square to the ticks is period / sqrt(1 + tilt^2). Nothing when the box
// holds no clear period or fewer ticks.
std::optional<TickPeriod> FitTickPeriod(CDibImage image, PixelRect box, TickAxis axis);

inline constexpr int kFewestTicks = 5;
inline constexpr double kClearPeriod = 0.3;

} // namespace halvera
