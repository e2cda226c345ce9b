#pragma once

#include "image/PixelGeometry.h"
#include "measure/GreyPatch.h"

#include <vector>

namespace halvera {

// Grey levels sampled along a ray across an edge: sample k lies at profile
// coordinate start + k * step, that is at origin + (start + k * step) *
// direction in the picture.
//
// Samples are bilinear between the four pixel centres around them, at a
// quarter of a pixel: finer than the pixels, so the area under the profile
// (what the edge location integrates) follows the picture's pixel values
// without needing a step that divides the pixel grid at every angle.
struct EdgeProfile {
    double start = 0.0;
    double step = 0.0;
    std::vector<double> levels;

    double CoordinateOf(size_t k) const { return start + static_cast<double>(k) * step; }
    size_t size() const { return levels.size(); }
};

inline constexpr double kProfileStep = 0.25;

// A ray: where profile coordinate 0 lies and the unit direction of rising
// coordinates.
struct ProfileRay {
    SubPixelPoint origin;
    SubPixelPoint direction;

    SubPixelPoint At(double t) const {
        return {origin.x + t * direction.x, origin.y + t * direction.y};
    }
};

// Samples `ray` over the part of [from, to] that the patch can sample.
// Returns false, leaving `profile` empty, when under two pixels of it can be.
bool SampleProfile(const GreyPatch& patch, const ProfileRay& ray, double from, double to,
                   EdgeProfile& profile);

} // namespace halvera
