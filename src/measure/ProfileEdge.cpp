#include "measure/ProfileEdge.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace halvera {

namespace {

constexpr double kSlopeSigma = 1.0;         // pixels
constexpr double kCandidatePeakShare = 0.5; // of the strongest peak, to be a candidate
constexpr double kTransitionEnd = 0.1;      // of the peak, where the transition ends
constexpr double kNeighbourShare = 0.25;    // of the peak, for a neighbouring edge
constexpr double kWindowSlack = 1.0;        // pixels beyond the transition
constexpr double kSmallestHalfWindow = 1.5; // pixels
constexpr double kLargestHalfWindow = 8.0;  // pixels
constexpr double kSideLength = 3.5;         // pixels averaged for each side's level
constexpr double kShortestSide = 0.75;      // pixels, next to a neighbouring edge
constexpr double kContrastToNoise = 5.0;

// The derivative of a Gaussian of sigma kSlopeSigma sampled at the profile
// step, scaled so that a ramp of slope 1 gives 1.
const std::vector<double>& SlopeKernel() {
    static const std::vector<double> kernel = [] {
        const int radius = static_cast<int>(std::ceil(3.0 * kSlopeSigma / kProfileStep));
        std::vector<double> weights(static_cast<size_t>(2 * radius + 1));
        double ramp = 0.0;
        for (int j = -radius; j <= radius; ++j) {
            const double t = j * kProfileStep;
            const double w = t * std::exp(-0.5 * t * t / (kSlopeSigma * kSlopeSigma));
            weights[static_cast<size_t>(j + radius)] = w;
            ramp += w * t;
        }
        for (double& w : weights)
            w /= ramp;
        return weights;
    }();
    return kernel;
}

// The smoothed slope at every sample the kernel fits around (0 elsewhere).
std::vector<double> Slopes(const EdgeProfile& profile) {
    const std::vector<double>& kernel = SlopeKernel();
    const size_t radius = kernel.size() / 2;
    std::vector<double> slopes(profile.size(), 0.0);
    for (size_t k = radius; k + radius < profile.size(); ++k) {
        const double* levels = profile.levels.data() + (k - radius);
        double sum = 0.0;
        for (size_t j = 0; j < kernel.size(); ++j)
            sum += kernel[j] * levels[j];
        slopes[k] = sum;
    }
    return slopes;
}

// Whether sample k is a peak of strength(k) (a function of the sample).
template <typename Strength> bool IsPeak(Strength strength, size_t k, size_t count) {
    if (k == 0 || k + 1 >= count)
        return false;
    const double here = strength(k);
    return here > 0.0 && here >= strength(k - 1) && here > strength(k + 1);
}

// The sample of the chosen slope peak, or none.
std::optional<size_t> CoarseEdge(const EdgeProfile& profile, const std::vector<double>& slopes,
                                 const ProfileEdgeSearch& search) {
    const auto strength = [&](size_t k) {
        return search.polarity == 0 ? std::fabs(slopes[k]) : search.polarity * slopes[k];
    };
    const auto candidate = [&](size_t k) {
        return std::fabs(profile.CoordinateOf(k) - search.expected) <= search.reach &&
               IsPeak(strength, k, slopes.size());
    };
    double strongest = 0.0;
    for (size_t k = 0; k < slopes.size(); ++k)
        if (candidate(k))
            strongest = std::max(strongest, strength(k));
    std::optional<size_t> chosen;
    double nearest = 0.0;
    for (size_t k = 0; k < slopes.size(); ++k) {
        if (!candidate(k) || strength(k) < kCandidatePeakShare * strongest)
            continue;
        const double distance = std::fabs(profile.CoordinateOf(k) - search.expected);
        if (!chosen || distance < nearest) {
            chosen = k;
            nearest = distance;
        }
    }
    return chosen;
}

// How far from the peak the slope stays above a tenth of its height: the
// larger of the two sides, in pixels.
double TransitionHalfWidth(const std::vector<double>& slopes, size_t peak, double step) {
    const double height = slopes[peak];
    const auto reaches = [&](size_t k) {
        return slopes[k] * height > kTransitionEnd * height * height;
    };
    size_t below = peak;
    while (below > 0 && reaches(below - 1))
        --below;
    size_t above = peak;
    while (above + 1 < slopes.size() && reaches(above + 1))
        ++above;
    return static_cast<double>(std::max(peak - below, above - peak) + 1) * step;
}

// Distance from the peak to the nearest other slope extremum of either sign
// that reaches a quarter of its height, on the side `direction` (+1 or -1);
// infinite when there is none.
double NeighbourDistance(const std::vector<double>& slopes, size_t peak, int direction,
                         double step) {
    const auto magnitude = [&](size_t k) {
        return std::fabs(slopes[k]);
    };
    const double height = magnitude(peak);
    const auto last = static_cast<ptrdiff_t>(slopes.size()) - 1;
    // Leave the peak's own hump first: walk while the magnitude falls.
    auto k = static_cast<ptrdiff_t>(peak);
    while (k + direction >= 0 && k + direction <= last &&
           magnitude(static_cast<size_t>(k + direction)) <= magnitude(static_cast<size_t>(k)))
        k += direction;
    for (; k >= 0 && k <= last; k += direction) {
        const auto at = static_cast<size_t>(k);
        if (IsPeak(magnitude, at, slopes.size()) && magnitude(at) >= kNeighbourShare * height)
            return std::fabs(static_cast<double>(k - static_cast<ptrdiff_t>(peak))) * step;
    }
    return INFINITY;
}

} // namespace

std::vector<double> ProfileEdgeCandidates(const EdgeProfile& profile, double from, double to) {
    const std::vector<double> slopes = Slopes(profile);
    const auto magnitude = [&](size_t k) {
        return std::fabs(slopes[k]);
    };
    const auto candidate = [&](size_t k) {
        const double t = profile.CoordinateOf(k);
        return t >= from && t <= to && IsPeak(magnitude, k, slopes.size());
    };
    double strongest = 0.0;
    for (size_t k = 0; k < slopes.size(); ++k)
        if (candidate(k))
            strongest = std::max(strongest, magnitude(k));
    std::vector<double> edges;
    for (size_t k = 0; k < slopes.size(); ++k)
        if (candidate(k) && magnitude(k) >= kCandidatePeakShare * strongest)
            edges.push_back(profile.CoordinateOf(k));
    return edges;
}

namespace {

double Mean(const std::vector<double>& levels, size_t first, size_t last) {
    double sum = 0.0;
    for (size_t k = first; k <= last; ++k)
        sum += levels[k];
    return sum / static_cast<double>(last - first + 1);
}

// The partial-area position between samples `first` and `last`, whose sides
// have the levels `before` and `after`: share(k) runs from 1 on the near side
// to 0 on the far side, and the trapezoid rule integrates it; around a bend
// centre each sample weighs with its distance r from the centre, and the
// position is where a step encloses the same area: r_e^2 = r_0^2 + 2 * area,
// r_0 being the window's end nearer the centre.
std::optional<double> PartialAreaPosition(const EdgeProfile& profile, size_t first, size_t last,
                                          double before, double after, double centre) {
    const std::vector<double>& f = profile.levels;
    const double step = profile.step;
    const double a = profile.CoordinateOf(first);
    const double b = profile.CoordinateOf(last);
    const auto nearShare = [&](size_t k) {
        return (after - f[k]) / (after - before);
    };
    if (std::isnan(centre) || (centre > a && centre < b)) {
        double area = 0.0;
        for (size_t k = first; k < last; ++k)
            area += 0.5 * step * (nearShare(k) + nearShare(k + 1));
        return a + area;
    }
    // The share on the centre's side and each sample's distance from it.
    const bool outward = centre <= a;
    const auto inner = [&](size_t k) {
        return outward ? nearShare(k) : 1.0 - nearShare(k);
    };
    const auto radius = [&](size_t k) {
        return std::fabs(profile.CoordinateOf(k) - centre);
    };
    double area = 0.0;
    for (size_t k = first; k < last; ++k)
        area += 0.5 * step * (inner(k) * radius(k) + inner(k + 1) * radius(k + 1));
    const double nearest = outward ? a - centre : centre - b;
    const double squared = nearest * nearest + 2.0 * area;
    if (!(squared > 0.0))
        return std::nullopt;
    return outward ? centre + std::sqrt(squared) : centre - std::sqrt(squared);
}

double SpreadAround(const std::vector<double>& levels, size_t first, size_t last, double mean) {
    double sum = 0.0;
    for (size_t k = first; k <= last; ++k)
        sum += (levels[k] - mean) * (levels[k] - mean);
    return std::sqrt(sum / static_cast<double>(last - first + 1));
}

} // namespace

std::optional<ProfileEdge> LocateProfileEdge(const EdgeProfile& profile,
                                             const ProfileEdgeSearch& search) {
    const std::vector<double> slopes = Slopes(profile);
    const std::optional<size_t> peak = CoarseEdge(profile, slopes, search);
    if (!peak)
        return std::nullopt;
    const double step = profile.step;
    double half = std::clamp(TransitionHalfWidth(slopes, *peak, step) + kWindowSlack,
                             kSmallestHalfWindow, kLargestHalfWindow);
    // Window and sides stop halfway to a neighbouring edge: the sides give
    // way first, down to a short stretch, then the window.
    double side = kSideLength;
    for (const int direction : {-1, 1}) {
        const double room = NeighbourDistance(slopes, *peak, direction, step) / 2.0;
        side = std::min(side, std::max(room - half, kShortestSide));
        half = std::min(half, std::max(room - side, kSmallestHalfWindow));
    }

    const auto halfSamples = static_cast<size_t>(std::lround(half / step));
    const auto sideSamples = static_cast<size_t>(std::lround(side / step));
    if (*peak < halfSamples + sideSamples || *peak + halfSamples + sideSamples >= profile.size())
        return std::nullopt;
    const size_t first = *peak - halfSamples;
    const size_t last = *peak + halfSamples;
    const std::vector<double>& f = profile.levels;
    const double before = Mean(f, first - sideSamples, first);
    const double after = Mean(f, last, last + sideSamples);
    const double contrast = after - before;
    const double noise = std::max(SpreadAround(f, first - sideSamples, first, before),
                                  SpreadAround(f, last, last + sideSamples, after));
    if (std::fabs(contrast) < std::max(kMinimumEdgeContrast, kContrastToNoise * noise) ||
        (search.polarity != 0 && contrast * search.polarity < 0.0))
        return std::nullopt;

    const std::optional<double> position =
        PartialAreaPosition(profile, first, last, before, after, search.bendCentre);
    if (!position || std::fabs(*position - search.expected) > search.reach + half)
        return std::nullopt;
    return ProfileEdge{*position, contrast};
}

} // namespace halvera
