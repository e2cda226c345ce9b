#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <cstdint>
#include <vector>

namespace halvera::testing {

// Pictures of edges whose geometry is known exactly, for checking what the
// edge measurements find against the truth. A shape is rendered as its
// coverage: the share of each pixel's square (pixel x covers [x - 0.5,
// x + 0.5)) that lies inside it, exact for shapes bounded by straight lines
// (the square clipped against each line) and from 64 x 64 samples for the
// boundary pixels of a disc. The picture is then blurred by a Gaussian,
// given seeded Gaussian noise and rounded to whole grey levels, as a camera
// behind slightly soft optics would deliver it.

// The share of each pixel inside the shape, rows from the top.
struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<double> share;

    double& at(int x, int y) { return share[static_cast<size_t>(y) * width + x]; }
};

// A straight edge through `onEdge` running at `degrees` (counter-clockwise
// on screen from the x axis); inside is the side to the left when walking
// along it on screen.
struct StraightEdgeTruth {
    SubPixelPoint onEdge;
    double degrees = 0.0;

    SubPixelPoint Direction() const;
    // Signed distance from the edge, positive inside.
    double InsideDistance(SubPixelPoint p) const;
};
Coverage CoverHalfPlane(int width, int height, const StraightEdgeTruth& edge);

// A bar between two parallel edges `width` apart: `edge` and the one
// `width` further inside.
Coverage CoverBar(int width, int height, const StraightEdgeTruth& edge, double barWidth);

Coverage CoverDisc(int width, int height, SubPixelPoint centre, double radius);

// A convex shape: the share inside every one of `edges` at once, exact.
Coverage CoverConvex(int width, int height, const std::vector<StraightEdgeTruth>& edges);
// Takes the share of `hole` out of `coverage` (a hole drilled in a plate).
void CutOut(Coverage& coverage, const Coverage& hole);

// A stage micrometer's ticks: `count` bars `tickWidth` wide, `period`
// apart square to them, the first centred on `first`, running at `degrees`
// from the vertical (axis x: ticks stand up and follow along the rows) or
// from the horizontal (axis y), each `length` long around the line `across`
// (a row for axis x, a column for axis y; negative: the picture's middle).
struct TickComb {
    bool alongY = false;
    double first = 0.0;
    double period = 0.0;
    int count = 0;
    double tickWidth = 0.0;
    double degrees = 0.0;
    double length = 0.0;
    double across = -1.0;
};
Coverage CoverTicks(int width, int height, const TickComb& comb);

// How the rendered picture looks beyond its geometry.
struct Look {
    double inside = 200.0; // grey level of full coverage
    double outside = 40.0; // grey level of no coverage
    double blur = 0.0;     // Gaussian sigma, pixels
    double noise = 0.0;    // Gaussian sigma, grey levels
    uint64_t seed = 1;
};

// An 8-bit grey picture of the coverage as the look says.
DibBlock RenderGrey(const Coverage& coverage, const Look& look);
// The same in 24 bits, every pixel grey (its three channels equal).
DibBlock RenderRgb(const Coverage& coverage, const Look& look);

} // namespace halvera::testing
