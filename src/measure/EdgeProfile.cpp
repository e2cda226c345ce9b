#include "measure/EdgeProfile.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

constexpr double kShortestProfile = 2.0;

// The part of [from, to] along `ray` inside the box the patch samples, by
// clipping against each side (the Liang-Barsky rule); empty when from > to.
void ClipToPatch(const GreyPatch& patch, const ProfileRay& ray, double& from, double& to) {
    // Just inside the last column and row, where a sample still has four pixels.
    constexpr double kInside = 1e-9;
    const double lower[] = {static_cast<double>(patch.left()), static_cast<double>(patch.top())};
    const double upper[] = {patch.left() + patch.width() - 1 - kInside,
                            patch.top() + patch.height() - 1 - kInside};
    const double origin[] = {ray.origin.x, ray.origin.y};
    const double direction[] = {ray.direction.x, ray.direction.y};
    for (int axis = 0; axis < 2; ++axis) {
        if (direction[axis] == 0.0) {
            if (origin[axis] < lower[axis] || origin[axis] > upper[axis])
                to = from - 1.0;
            continue;
        }
        double enter = (lower[axis] - origin[axis]) / direction[axis];
        double leave = (upper[axis] - origin[axis]) / direction[axis];
        if (enter > leave)
            std::swap(enter, leave);
        from = std::max(from, enter);
        to = std::min(to, leave);
    }
}

} // namespace

bool SampleProfile(const GreyPatch& patch, const ProfileRay& ray, double from, double to,
                   EdgeProfile& profile) {
    profile.levels.clear();
    if (patch.empty())
        return false;
    ClipToPatch(patch, ray, from, to);
    if (!(to - from >= kShortestProfile))
        return false;
    // Whole steps from `from`, so that every sample lies inside the clipped range.
    const auto count = static_cast<size_t>(std::floor((to - from) / kProfileStep)) + 1;
    profile.start = from;
    profile.step = kProfileStep;
    profile.levels.resize(count);
    for (size_t k = 0; k < count; ++k) {
        const SubPixelPoint at = ray.At(profile.CoordinateOf(k));
        // Clamped against rounding at the clipped ends.
        const double px = std::clamp(at.x, static_cast<double>(patch.left()),
                                     static_cast<double>(patch.left() + patch.width() - 1));
        const double py = std::clamp(at.y, static_cast<double>(patch.top()),
                                     static_cast<double>(patch.top() + patch.height() - 1));
        const auto column =
            std::min(static_cast<int32_t>(std::floor(px)), patch.left() + patch.width() - 2);
        const auto row =
            std::min(static_cast<int32_t>(std::floor(py)), patch.top() + patch.height() - 2);
        const double fx = px - column;
        const double fy = py - row;
        const float* upper = patch.Row(row) + (column - patch.left());
        const float* lower = upper + patch.width();
        const double top = upper[0] + fx * (upper[1] - upper[0]);
        const double bottom = lower[0] + fx * (lower[1] - lower[0]);
        profile.levels[k] = top + fy * (bottom - top);
    }
    return true;
}

} // namespace halvera
