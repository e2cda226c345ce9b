#include "measure/EdgePoint.h"

#include "measure/EdgeCrossings.h"
#include "measure/LinearSolve3.h"
#include "measure/LocalGradient.h"
#include "measure/ProfileEdge.h"
#include "measure/StraightEdge.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

constexpr double kStrongShare = 0.5;      // of the strongest gradient, to mark an edge
constexpr double kLocalHalfLength = 6.0;  // pixels of edge to either side
constexpr double kMarkReach = 2.5;        // pixels about the marking pixel's position
constexpr double kFootReach = 1.5;        // pixels about the local line
constexpr double kFootSpacing = 0.25;     // pixels between the profiles beside the foot
constexpr double kBendSignificance = 3.0; // standard errors
constexpr int kNearestSteps = 8;

// The pixel nearest `near` (within `radius`) whose gradient reaches half the
// strongest there, and its gradient; nothing on flat levels.
std::optional<std::pair<PixelPoint, SubPixelPoint>>
MarkingPixel(const GreyPatch& patch, SubPixelPoint near, double radius) {
    const auto first = [](double v) {
        return static_cast<int32_t>(std::floor(v));
    };
    const int32_t left = first(near.x - radius);
    const int32_t right = first(near.x + radius) + 1;
    const int32_t top = first(near.y - radius);
    const int32_t bottom = first(near.y + radius) + 1;
    const auto within = [&](int32_t x, int32_t y) {
        return std::hypot(x - near.x, y - near.y) <= radius && HasSobelNeighbourhood(patch, x, y);
    };
    double strongest = 0.0;
    for (int32_t y = top; y <= bottom; ++y)
        for (int32_t x = left; x <= right; ++x)
            if (within(x, y)) {
                const SubPixelPoint g = SobelGradient(patch, x, y);
                strongest = std::max(strongest, std::hypot(g.x, g.y));
            }
    if (strongest == 0.0)
        return std::nullopt;
    std::optional<std::pair<PixelPoint, SubPixelPoint>> marking;
    double nearest = 0.0;
    for (int32_t y = top; y <= bottom; ++y)
        for (int32_t x = left; x <= right; ++x) {
            if (!within(x, y))
                continue;
            const SubPixelPoint g = SobelGradient(patch, x, y);
            const double distance = std::hypot(x - near.x, y - near.y);
            if (std::hypot(g.x, g.y) >= kStrongShare * strongest &&
                (!marking || distance < nearest)) {
                marking = {PixelPoint{x, y}, g};
                nearest = distance;
            }
        }
    return marking;
}

SubPixelPoint Unit(SubPixelPoint v) {
    const double length = std::hypot(v.x, v.y);
    return {v.x / length, v.y / length};
}

// The edge across the foot as a parabola t = a + b s + c s^2 in the foot's
// frame: s along the local line, t along its normal.
struct LocalParabola {
    double a, b, c;
    double At(double s) const { return a + (b + c * s) * s; }
    double Slope(double s) const { return b + 2.0 * c * s; }
};

struct FootFrame {
    SubPixelPoint foot, along, across;
    SubPixelPoint Point(double s, double t) const {
        return {foot.x + s * along.x + t * across.x, foot.y + s * along.y + t * across.y};
    }
};

// The crossings in the frame: s along the local line, t along its normal.
std::vector<SubPixelPoint> InFrame(std::span<const EdgeCrossing> crossings,
                                   const FootFrame& frame) {
    std::vector<SubPixelPoint> points;
    points.reserve(crossings.size());
    for (const EdgeCrossing& c : crossings) {
        const double dx = c.point.x - frame.foot.x;
        const double dy = c.point.y - frame.foot.y;
        points.push_back(
            {dx * frame.along.x + dy * frame.along.y, dx * frame.across.x + dy * frame.across.y});
    }
    return points;
}

// The least-squares parabola through the points (s, t), with the standard
// error of its bend c.
struct ParabolaFit {
    LocalParabola parabola;
    double bendError = 0.0;
};
std::optional<ParabolaFit> FitParabola(std::span<const SubPixelPoint> points) {
    if (points.size() < 4)
        return std::nullopt;
    Matrix3 m{};
    Vector3 b{};
    for (const SubPixelPoint p : points)
        AddObservation(m, b, {1.0, p.x, p.x * p.x}, p.y);
    const std::optional<Vector3> fitted = SolveLinear3(m, b);
    const std::optional<Vector3> bendVariance = SolveLinear3(m, {0.0, 0.0, 1.0});
    if (!fitted || !bendVariance)
        return std::nullopt;
    const LocalParabola parabola{(*fitted)[0], (*fitted)[1], (*fitted)[2]};
    double squares = 0.0;
    for (const SubPixelPoint p : points)
        squares += (p.y - parabola.At(p.x)) * (p.y - parabola.At(p.x));
    // Profiles a quarter pixel apart share their pixels: about one in four
    // is independent, which the variance takes into account.
    const double scatter = squares / static_cast<double>(points.size() - 3) / kFootSpacing;
    return ParabolaFit{parabola, std::sqrt(scatter * std::max((*bendVariance)[2], 0.0))};
}

// The edge beside the foot: profiles along the normal a quarter pixel apart,
// fitted by a parabola. A bend that stands out from its own noise (three
// standard errors) is measured again with the profiles weighted around its
// centre (ProfileEdge.h), which would otherwise pull a blurred curved edge
// toward its inside; a bend lost in the noise is left unweighted, where
// weighting around a centre the noise placed would only move the point.
std::optional<LocalParabola> EdgeBesideFoot(const GreyPatch& patch, const FootFrame& frame) {
    const SubPixelPoint from = frame.Point(-kLocalHalfLength, 0.0);
    const SubPixelPoint to = frame.Point(kLocalHalfLength, 0.0);
    ProfileEdgeSearch search{0.0, kFootReach, 1};
    const std::vector<SubPixelPoint> unweighted =
        InFrame(CrossEdges(patch, from, to, frame.across, search, kFootSpacing), frame);
    const std::optional<ParabolaFit> first = FitParabola(unweighted);
    if (!first)
        return std::nullopt;
    const double bend = first->parabola.c;
    if (std::fabs(bend) <= kBendSignificance * first->bendError)
        return first->parabola;
    search.bendCentre = first->parabola.a + 0.5 / bend;
    const std::optional<ParabolaFit> weighted = FitParabola(
        InFrame(CrossEdges(patch, from, to, frame.across, search, kFootSpacing), frame));
    return weighted ? std::optional(weighted->parabola) : std::nullopt;
}

// The offset s of the parabola's point nearest (0, t), by Newton's rule on
// the derivative of the squared distance, kept within the fitted stretch.
double NearestAlong(const LocalParabola& parabola, double t) {
    double s = 0.0;
    for (int step = 0; step < kNearestSteps; ++step) {
        const double gap = parabola.At(s) - t;
        const double slope = parabola.Slope(s);
        const double change = s + gap * slope;
        const double rate = 1.0 + slope * slope + gap * 2.0 * parabola.c;
        if (rate <= 0.0)
            break;
        s = std::clamp(s - change / rate, -kLocalHalfLength, kLocalHalfLength);
    }
    return s;
}

} // namespace

PixelRect PointSearchBox(SubPixelPoint near, double radius) {
    const double extent = radius + kProfileMargin + kLocalHalfLength + 2.0;
    return {static_cast<int32_t>(std::floor(near.x - extent)),
            static_cast<int32_t>(std::floor(near.y - extent)),
            static_cast<int32_t>(std::ceil(near.x + extent)),
            static_cast<int32_t>(std::ceil(near.y + extent))};
}

EdgeResult<SubPixelPoint> FindEdgePoint(CDibImage image, SubPixelPoint near, double radius) {
    const GreyPatch patch = GreyPatch::Of(image, PointSearchBox(near, radius));
    if (patch.empty())
        return EdgeMiss::OutsidePicture;
    return FindEdgePointIn(patch, near, radius);
}

EdgeResult<SubPixelPoint> FindEdgePointIn(const GreyPatch& patch, SubPixelPoint near,
                                          double radius) {
    const auto marking = MarkingPixel(patch, near, radius);
    if (!marking)
        return EdgeMiss::NoEdge;
    const SubPixelPoint rising = Unit(marking->second);
    const ProfileRay ray{near, rising};
    const double expected =
        (marking->first.x - near.x) * rising.x + (marking->first.y - near.y) * rising.y;
    EdgeProfile profile;
    if (!SampleProfile(patch, ray, expected - kMarkReach - kProfileMargin,
                       expected + kMarkReach + kProfileMargin, profile))
        return EdgeMiss::NoEdge;
    const auto crossing = LocateProfileEdge(profile, {expected, kMarkReach, 1});
    if (!crossing)
        return EdgeMiss::NoEdge;

    const EdgeResult<FittedLine> local =
        FitShortEdge(patch, ray.At(crossing->position), rising, kLocalHalfLength);
    if (!local)
        return local.miss();
    const FootFrame frame{local->Projection(near), local->direction, local->Normal()};
    const std::optional<LocalParabola> parabola = EdgeBesideFoot(patch, frame);
    if (!parabola)
        return EdgeMiss::TooFewPoints;
    const double s = NearestAlong(*parabola, local->DistanceOf(near));
    return frame.Point(s, parabola->At(s));
}

} // namespace halvera
