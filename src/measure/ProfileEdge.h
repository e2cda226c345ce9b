#pragma once

#include "measure/EdgeProfile.h"

#include <limits>
#include <optional>
#include <vector>

namespace halvera {

// Where to look for an edge on a profile.
struct ProfileEdgeSearch {
    double expected = 0.0; // the profile coordinate the edge is looked for near
    double reach = 0.0;    // how far from `expected` it may lie
    int polarity = 0;      // +1: levels rise along the profile; -1: they fall; 0: either
    // For an edge that bends around a centre (a circle, an arc), the profile
    // coordinate of that centre, on the profile's line; NaN for a straight edge.
    double bendCentre = std::numeric_limits<double>::quiet_NaN();
};

struct ProfileEdge {
    double position = 0.0; // profile coordinate of the edge
    double contrast = 0.0; // level after the edge minus level before it
};

// The edge of a profile to a fraction of a pixel, in two steps.
//
// Coarse: the slope of the profile smoothed by a Gaussian (sigma 1 pixel);
// of the slope peaks of the wanted polarity within reach that reach half the
// strongest one's height, the one nearest `expected`. Its width (where the
// slope falls to a tenth) sizes a window around it that holds the whole
// transition, blur included, but stops short of a neighbouring edge.
//
// Fine: the partial-area rule. The levels just outside the window are the two
// sides' levels; the edge is where an ideal step between them would enclose
// the same area under the profile as the samples do. Area sampling and a
// symmetric blur keep the area, so the rule is unbiased on sharp and blurred
// edges alike, where a parabola through the slope peak is pulled toward the
// pixel grid. On an edge that bends around a centre each sample weighs with
// its distance from the centre: the step then encloses the same area of the
// plane, which keeps a blurred circle its radius (an unweighted profile would
// see it shrink by about sigma^2 / 2R, a twentieth of a pixel at R = 12 and
// sigma = 1.1).
//
// Nothing when no slope peak lies within reach, the window does not fit on
// the profile, or the contrast is too weak to tell from the sides' noise.
std::optional<ProfileEdge> LocateProfileEdge(const EdgeProfile& profile,
                                             const ProfileEdgeSearch& search);

// How far beyond the reach a profile must run to hold the widest window, the
// sides' levels and the smoothing around them, in pixels.
inline constexpr double kProfileMargin = 13.0;

// The coordinates of the slope peaks of either sign between `from` and `to`
// that reach half the strongest one's height, in profile order: the edges a
// profile crosses there.
std::vector<double> ProfileEdgeCandidates(const EdgeProfile& profile, double from, double to);

// The weakest contrast, in grey levels, taken for an edge.
inline constexpr double kMinimumEdgeContrast = 8.0;

} // namespace halvera
