#include "measure/EdgeWidth.h"

#include "measure/EdgeProfile.h"
#include "measure/GreyPatch.h"
#include "measure/LocalGradient.h"
#include "measure/ProfileEdge.h"
#include "measure/StraightEdge.h"

#include <cmath>

namespace halvera {

namespace {

constexpr double kCrossingReach = 0.5; // pixels about a slope peak
constexpr double kSmallestWidth = 1.0; // pixels between the first and last edge
constexpr double kParallelEnough = 1e-6;

// The short edge fitted where the profile's peak at `peak` crosses it.
EdgeResult<FittedLine> EdgeAt(const GreyPatch& patch, const ProfileRay& ray,
                              const EdgeProfile& profile, double peak) {
    const auto crossing = LocateProfileEdge(profile, {peak, kCrossingReach, 0});
    if (!crossing)
        return EdgeMiss::NoEdge;
    const SubPixelPoint at = ray.At(crossing->position);
    const double sign = crossing->contrast > 0.0 ? 1.0 : -1.0;
    const SubPixelPoint rising = RisingDirection(patch, at).value_or(
        SubPixelPoint{sign * ray.direction.x, sign * ray.direction.y});
    return FitShortEdge(patch, at, rising, kWidthEdgeHalfLength);
}

// Where the ray from `origin` along `way` meets the line; nothing when they
// run parallel.
std::optional<SubPixelPoint> Meet(SubPixelPoint origin, SubPixelPoint way, const FittedLine& line) {
    const SubPixelPoint normal = line.Normal();
    const double approach = way.x * normal.x + way.y * normal.y;
    if (std::fabs(approach) < kParallelEnough)
        return std::nullopt;
    const double travel = -line.DistanceOf(origin) / approach;
    return SubPixelPoint{origin.x + travel * way.x, origin.y + travel * way.y};
}

} // namespace

EdgeResult<EdgeWidth> MeasureEdgeWidth(CDibImage image, SubPixelPoint from, SubPixelPoint to,
                                       double radius) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (!(length > 0.0))
        return EdgeMiss::TooFewPoints;
    const GreyPatch patch =
        GreyPatch::Of(image, SegmentSearchBox(from, to, radius + kWidthEdgeHalfLength));
    if (patch.empty())
        return EdgeMiss::OutsidePicture;
    const ProfileRay ray{from, {(to.x - from.x) / length, (to.y - from.y) / length}};
    EdgeProfile profile;
    if (!SampleProfile(patch, ray, -kProfileMargin, length + kProfileMargin, profile))
        return EdgeMiss::OutsidePicture;
    const std::vector<double> peaks = ProfileEdgeCandidates(profile, 0.0, length);
    if (peaks.size() < 2 || peaks.back() - peaks.front() < kSmallestWidth)
        return EdgeMiss::FewerThanTwoEdges;

    const EdgeResult<FittedLine> first = EdgeAt(patch, ray, profile, peaks.front());
    if (!first)
        return first.miss();
    const EdgeResult<FittedLine> last = EdgeAt(patch, ray, profile, peaks.back());
    if (!last)
        return last.miss();
    const std::optional<SubPixelPoint> start = Meet(from, ray.direction, *first);
    if (!start)
        return EdgeMiss::NoEdge;
    const std::optional<SubPixelPoint> end = Meet(*start, first->Normal(), *last);
    if (!end)
        return EdgeMiss::NoEdge;
    const double residual =
        std::sqrt(0.5 * (first->residual * first->residual + last->residual * last->residual));
    return EdgeWidth{*start, *end, residual};
}

} // namespace halvera
