#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "measure/CircleFit.h"
#include "measure/EdgeSearch.h"
#include "measure/GreyPatch.h"

namespace halvera {

// The circular edge (a hole, a disc, a bead) near the circle of `centre`
// and `radius`, within `reach` pixels of it, fitted over the whole
// circumference.
//
// Rays from the given centre cross the circle about once per pixel of its
// circumference; the edges they find (of the polarity most share) are fitted
// by FitCircle with the outliers dropped. Twice more, rays are cast from the
// fitted centre, so that each crosses the edge at right angles, and their
// edges are located with the radius-weighted partial-area rule
// (ProfileEdge.h), which keeps a blurred circle its radius, and fitted again.
EdgeResult<FittedEdgeCircle> FindCircularEdge(CDibImage image, SubPixelPoint centre, double radius,
                                              double reach);

// The same on a patch that covers the circle with `reach` and
// kProfileMargin around it.
EdgeResult<FittedEdgeCircle> FindCircularEdgeIn(const GreyPatch& patch, SubPixelPoint centre,
                                                double radius, double reach);

// The pixels a search `reach` about the circle reads.
PixelRect CircleSearchBox(SubPixelPoint centre, double radius, double reach);

} // namespace halvera
