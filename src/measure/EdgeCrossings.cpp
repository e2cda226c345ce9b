#include "measure/EdgeCrossings.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

constexpr size_t kFewestProfiles = 3;
// Bounds the work on a segment far longer than any picture: beyond this the
// profiles spread further apart.
constexpr size_t kMostProfiles = size_t{1} << 17;

} // namespace

std::vector<EdgeCrossing> CrossEdges(const GreyPatch& patch, SubPixelPoint from, SubPixelPoint to,
                                     SubPixelPoint across, const ProfileEdgeSearch& search,
                                     double spacing) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    const size_t profiles = std::clamp(static_cast<size_t>(std::ceil(length / spacing)) + 1,
                                       kFewestProfiles, kMostProfiles);
    const double lowest = search.expected - search.reach - kProfileMargin;
    const double highest = search.expected + search.reach + kProfileMargin;
    std::vector<EdgeCrossing> crossings;
    crossings.reserve(profiles);
    EdgeProfile profile;
    for (size_t i = 0; i < profiles; ++i) {
        const double share = static_cast<double>(i) / static_cast<double>(profiles - 1);
        const ProfileRay ray{{from.x + share * (to.x - from.x), from.y + share * (to.y - from.y)},
                             across};
        if (!SampleProfile(patch, ray, lowest, highest, profile))
            continue;
        if (const auto edge = LocateProfileEdge(profile, search))
            crossings.push_back({ray.At(edge->position), edge->contrast});
    }
    return crossings;
}

int KeepCommonPolarity(std::vector<EdgeCrossing>& crossings) {
    const auto rising = std::count_if(crossings.begin(), crossings.end(),
                                      [](const EdgeCrossing& c) { return c.contrast > 0.0; });
    const int polarity = 2 * rising >= static_cast<ptrdiff_t>(crossings.size()) ? 1 : -1;
    std::erase_if(crossings,
                  [polarity](const EdgeCrossing& c) { return c.contrast * polarity <= 0.0; });
    return polarity;
}

std::vector<SubPixelPoint> PointsOf(std::span<const EdgeCrossing> crossings) {
    std::vector<SubPixelPoint> points;
    points.reserve(crossings.size());
    for (const EdgeCrossing& c : crossings)
        points.push_back(c.point);
    return points;
}

} // namespace halvera
