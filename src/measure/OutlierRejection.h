#pragma once

#include <span>
#include <vector>

namespace halvera {

// Which of a fit's points to keep: a point whose residual (its signed
// distance from the fitted shape) lies further from the median residual than
// 3.5 robust standard deviations (1.4826 times the median absolute
// deviation, which a few wild points cannot inflate as they would the plain
// standard deviation), and at least a quarter of a pixel, is an outlier:
// dust, a scratch or a neighbouring edge caught by a profile. The floor keeps
// a clean edge, whose residuals are all tiny, from losing good points.
std::vector<bool> InlierMask(std::span<const double> residuals);

// Fits `points` with `fit`, drops the outliers its residuals show and fits
// again, until no point is dropped (at most a few rounds). `fit` returns an
// optional shape; `residual(shape, point)` the point's signed distance.
// Nothing when a fit fails or fewer than `fewest` points are left.
template <typename Point, typename Fit, typename Residual>
auto FitWithoutOutliers(std::vector<Point> points, size_t fewest, Fit fit, Residual residual)
    -> decltype(fit(std::span<const Point>(points))) {
    constexpr int kRounds = 4;
    if (points.size() < fewest)
        return {};
    auto shape = fit(std::span<const Point>(points));
    for (int round = 0; round < kRounds && shape; ++round) {
        std::vector<double> residuals;
        residuals.reserve(points.size());
        for (const Point& p : points)
            residuals.push_back(residual(*shape, p));
        const std::vector<bool> keep = InlierMask(residuals);
        std::vector<Point> kept;
        for (size_t i = 0; i < points.size(); ++i)
            if (keep[i])
                kept.push_back(points[i]);
        if (kept.size() == points.size())
            break;
        if (kept.size() < fewest)
            return {};
        points = std::move(kept);
        shape = fit(std::span<const Point>(points));
    }
    return shape;
}

} // namespace halvera
