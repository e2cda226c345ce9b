#pragma once

#include "image/PixelGeometry.h"

namespace halvera {

// The line measurement tools show, through each end of the line S-E, a guide
// perpendicular to it reaching `length` window pixels to either side. This is
// the offset from the end to one tip (the other tip is the end minus it):
// (0, length) for a horizontal line; otherwise, with g = (Ex - Sx) / (Sy - Ey)
// and h = length * sqrt(1 / (g * g + 1)), (trunc(h), trunc(g * h)). An offset
// of (0, 0) means no guide is drawn.
PixelPoint LineGuideOffset(PixelPoint start, PixelPoint end, int length);

// Guide lengths: the up arrow lengthens by 10 while shorter than 1024, the
// down arrow shortens by 10 while longer than 30.
inline constexpr int kInitialGuideLength = 100;
int LongerGuide(int length);
int ShorterGuide(int length);

} // namespace halvera
