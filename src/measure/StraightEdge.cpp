#include "measure/StraightEdge.h"

#include "measure/EdgeCrossings.h"
#include "measure/OutlierRejection.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace halvera {

namespace {

constexpr size_t kFewestLinePoints = 3;
constexpr double kRefinedReach = 1.5; // pixels about the fitted line
constexpr int kRefinements = 2;
constexpr double kShortEdgeReach = 2.0; // pixels about the given centre

std::optional<FittedLine> RobustLine(std::vector<SubPixelPoint> points) {
    return FitWithoutOutliers(
        std::move(points), kFewestLinePoints, FitLine,
        [](const FittedLine& line, SubPixelPoint p) { return line.DistanceOf(p); });
}

// The line turned, if need be, to run the way of `way`.
FittedLine Oriented(FittedLine line, SubPixelPoint way) {
    if (line.direction.x * way.x + line.direction.y * way.y < 0.0)
        line.direction = {-line.direction.x, -line.direction.y};
    return line;
}

} // namespace

PixelRect SegmentSearchBox(SubPixelPoint from, SubPixelPoint to, double radius) {
    const double margin = radius + kProfileMargin + 2.0;
    return {static_cast<int32_t>(std::floor(std::min(from.x, to.x) - margin)),
            static_cast<int32_t>(std::floor(std::min(from.y, to.y) - margin)),
            static_cast<int32_t>(std::ceil(std::max(from.x, to.x) + margin)),
            static_cast<int32_t>(std::ceil(std::max(from.y, to.y) + margin))};
}

EdgeResult<StraightEdge> FindStraightEdge(CDibImage image, SubPixelPoint from, SubPixelPoint to,
                                          double radius) {
    const GreyPatch patch = GreyPatch::Of(image, SegmentSearchBox(from, to, radius));
    if (patch.empty())
        return EdgeMiss::OutsidePicture;
    return FindStraightEdgeIn(patch, from, to, radius);
}

EdgeResult<StraightEdge> FindStraightEdgeIn(const GreyPatch& patch, SubPixelPoint from,
                                            SubPixelPoint to, double radius, int polarity) {
    const SubPixelPoint way{to.x - from.x, to.y - from.y};
    const double length = std::hypot(way.x, way.y);
    if (!(length > 0.0))
        return EdgeMiss::TooFewPoints;
    const SubPixelPoint normal{-way.y / length, way.x / length};
    std::vector<EdgeCrossing> crossings =
        CrossEdges(patch, from, to, normal, {0.0, radius, polarity});
    if (crossings.empty())
        return EdgeMiss::NoEdge;
    if (polarity == 0)
        polarity = KeepCommonPolarity(crossings);
    std::optional<FittedLine> line = RobustLine(PointsOf(crossings));
    for (int pass = 0; pass < kRefinements && line; ++pass) {
        line = Oriented(*line, way);
        crossings = CrossEdges(patch, line->Projection(from), line->Projection(to), line->Normal(),
                               {0.0, kRefinedReach, polarity});
        line = RobustLine(PointsOf(crossings));
    }
    if (!line)
        return EdgeMiss::TooFewPoints;
    const FittedLine fitted = Oriented(*line, way);
    return StraightEdge{fitted, fitted.Projection(from), fitted.Projection(to)};
}

EdgeResult<FittedLine> FitShortEdge(const GreyPatch& patch, SubPixelPoint centre,
                                    SubPixelPoint rising, double halfLength) {
    const SubPixelPoint along{rising.y, -rising.x};
    const auto ends = [&](SubPixelPoint middle, SubPixelPoint way) {
        return std::pair{
            SubPixelPoint{middle.x - halfLength * way.x, middle.y - halfLength * way.y},
            SubPixelPoint{middle.x + halfLength * way.x, middle.y + halfLength * way.y}};
    };
    auto [from, to] = ends(centre, along);
    std::vector<EdgeCrossing> crossings =
        CrossEdges(patch, from, to, rising, {0.0, kShortEdgeReach, 1});
    if (crossings.empty())
        return EdgeMiss::NoEdge;
    std::optional<FittedLine> line = RobustLine(PointsOf(crossings));
    if (line) {
        line = Oriented(*line, along);
        std::tie(from, to) = ends(line->Projection(centre), line->direction);
        line = RobustLine(
            PointsOf(CrossEdges(patch, from, to, line->Normal(), {0.0, kRefinedReach, 1})));
    }
    if (!line)
        return EdgeMiss::TooFewPoints;
    return Oriented(*line, along);
}

} // namespace halvera
