#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "measure/EdgeSearch.h"
#include "measure/GreyPatch.h"

namespace halvera {

// The edge point nearest to `near`, within `radius` pixels of it.
//
// The pixel nearest `near` whose Sobel gradient reaches half the strongest
// within the radius marks the edge and its rising direction; a profile
// through `near` along that direction finds the edge on it. A short straight
// edge fitted there (FitShortEdge) gives the local normal, and profiles
// along that normal every quarter pixel beside the foot of `near` give edge
// points, to which a parabola is fitted so that a curved edge is followed
// too (a bent one is measured again with the profiles weighted around its
// bend); the parabola's point nearest `near` is the edge point. Averaging
// 49 profiles this way keeps a single point steady in noise and evens out
// the pixel grid's pull on a sharp slanting edge.
EdgeResult<SubPixelPoint> FindEdgePoint(CDibImage image, SubPixelPoint near, double radius);

// The same on a patch covering PointSearchBox(near, radius).
EdgeResult<SubPixelPoint> FindEdgePointIn(const GreyPatch& patch, SubPixelPoint near,
                                          double radius);

// The pixels a point search of `radius` about `near` reads.
PixelRect PointSearchBox(SubPixelPoint near, double radius);

} // namespace halvera
