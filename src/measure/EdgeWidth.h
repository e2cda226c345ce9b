#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "measure/EdgeSearch.h"

namespace halvera {

// The width of a bar, slot or wire: the line from the first edge the
// segment from-to crosses, perpendicular to that edge, to the last edge it
// crosses.
struct EdgeWidth {
    SubPixelPoint start;   // where the segment crosses the first edge
    SubPixelPoint end;     // where the perpendicular from `start` meets the last edge
    double residual = 0.0; // RMS distance of both edges' points from their lines
};

// The profile along the segment shows the edges it crosses (its slope
// peaks); the first and the last are each fitted as a short straight edge
// (FitShortEdge) over kWidthEdgeHalfLength pixels to either side of the
// crossing, in the direction their levels rise there. Fitting each edge
// over its own length keeps the width true when the segment crosses the bar
// at a slant. `radius` is the snap radius the search box allows for.
EdgeResult<EdgeWidth> MeasureEdgeWidth(CDibImage image, SubPixelPoint from, SubPixelPoint to,
                                       double radius);

inline constexpr double kWidthEdgeHalfLength = 8.0;

} // namespace halvera
