#pragma once

#include "image/PixelGeometry.h"
#include "measure/GreyPatch.h"
#include "measure/ProfileEdge.h"

#include <span>
#include <vector>

namespace halvera {

// An edge found on one profile across a stretch of edge.
struct EdgeCrossing {
    SubPixelPoint point;
    double contrast = 0.0; // level after minus level before, along the profile
};

// The edges on profiles across the segment from-to, `spacing` pixels apart
// along it (at least three profiles), each through its point of the segment
// along the unit vector `across`, searched as `search` says (its expected
// position and reach measured from the segment). Profiles that find nothing
// are left out.
//
// A single profile across a sharp slanting edge errs by up to a twentieth of
// a pixel, depending on where it passes between the pixel centres; the error
// repeats along the edge with the pixel grid, so profiles much closer than a
// pixel average it away over a short stretch, while a stretch of hundreds of
// pixels averages it at one profile per pixel.
std::vector<EdgeCrossing> CrossEdges(const GreyPatch& patch, SubPixelPoint from, SubPixelPoint to,
                                     SubPixelPoint across, const ProfileEdgeSearch& search,
                                     double spacing = 1.0);

// The polarity most crossings share (+1 rising, -1 falling; rising on a tie)
// and the crossings of it, the others dropped: a stretch of edge has one
// polarity, and a profile that caught the other met something else.
int KeepCommonPolarity(std::vector<EdgeCrossing>& crossings);

std::vector<SubPixelPoint> PointsOf(std::span<const EdgeCrossing> crossings);

} // namespace halvera
