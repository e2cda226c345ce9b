#include "measure/CircularEdge.h"

#include "measure/EdgeCrossings.h"
#include "measure/OutlierRejection.h"
#include "measure/ProfileEdge.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace halvera {

namespace {

constexpr size_t kFewestRays = 32;
// Bounds the work on a circle far larger than any picture.
constexpr size_t kMostRays = size_t{1} << 17;
constexpr size_t kFewestCirclePoints = 5;
constexpr double kRefinedReach = 1.5; // pixels about the fitted circle
constexpr int kRefinements = 2;
// Rays start this far out from the centre at the least.
constexpr double kInnermostStart = 0.5;

// The edges on rays from `centre`, one per pixel of the circumference of
// `radius`, searched as `search` says (its coordinates being radii).
std::vector<EdgeCrossing> CrossCircle(const GreyPatch& patch, SubPixelPoint centre, double radius,
                                      const ProfileEdgeSearch& search) {
    const size_t rays = std::clamp(static_cast<size_t>(std::ceil(2.0 * std::numbers::pi * radius)),
                                   kFewestRays, kMostRays);
    const double from = std::max(kInnermostStart, search.expected - search.reach - kProfileMargin);
    const double to = search.expected + search.reach + kProfileMargin;
    std::vector<EdgeCrossing> crossings;
    crossings.reserve(rays);
    EdgeProfile profile;
    for (size_t i = 0; i < rays; ++i) {
        const double angle =
            2.0 * std::numbers::pi * (static_cast<double>(i) + 0.5) / static_cast<double>(rays);
        const ProfileRay ray{centre, {std::cos(angle), std::sin(angle)}};
        if (!SampleProfile(patch, ray, from, to, profile))
            continue;
        if (const auto edge = LocateProfileEdge(profile, search))
            crossings.push_back({ray.At(edge->position), edge->contrast});
    }
    return crossings;
}

std::optional<FittedEdgeCircle> RobustCircle(std::vector<SubPixelPoint> points) {
    return FitWithoutOutliers(std::move(points), kFewestCirclePoints, FitCircle,
                              [](const FittedEdgeCircle& circle, SubPixelPoint p) {
                                  return std::hypot(p.x - circle.centre.x, p.y - circle.centre.y) -
                                         circle.radius;
                              });
}

} // namespace

PixelRect CircleSearchBox(SubPixelPoint centre, double radius, double reach) {
    const double extent = radius + reach + kProfileMargin + 2.0;
    return {static_cast<int32_t>(std::floor(centre.x - extent)),
            static_cast<int32_t>(std::floor(centre.y - extent)),
            static_cast<int32_t>(std::ceil(centre.x + extent)),
            static_cast<int32_t>(std::ceil(centre.y + extent))};
}

EdgeResult<FittedEdgeCircle> FindCircularEdge(CDibImage image, SubPixelPoint centre, double radius,
                                              double reach) {
    const GreyPatch patch = GreyPatch::Of(image, CircleSearchBox(centre, radius, reach));
    if (patch.empty())
        return EdgeMiss::OutsidePicture;
    return FindCircularEdgeIn(patch, centre, radius, reach);
}

EdgeResult<FittedEdgeCircle> FindCircularEdgeIn(const GreyPatch& patch, SubPixelPoint centre,
                                                double radius, double reach) {
    if (!(radius > 0.0))
        return EdgeMiss::TooFewPoints;
    std::vector<EdgeCrossing> crossings = CrossCircle(patch, centre, radius, {radius, reach, 0});
    if (crossings.empty())
        return EdgeMiss::NoEdge;
    const int polarity = KeepCommonPolarity(crossings);
    std::optional<FittedEdgeCircle> circle = RobustCircle(PointsOf(crossings));
    for (int pass = 0; pass < kRefinements && circle; ++pass) {
        crossings = CrossCircle(patch, circle->centre, circle->radius,
                                {circle->radius, kRefinedReach, polarity, 0.0});
        circle = RobustCircle(PointsOf(crossings));
    }
    if (!circle)
        return EdgeMiss::TooFewPoints;
    return *circle;
}

} // namespace halvera
