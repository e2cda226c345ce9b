#include "measure/OutlierRejection.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

constexpr double kRobustDeviations = 3.5;
constexpr double kMadToSigma = 1.4826;      // for normally spread residuals
constexpr double kSmallestRejection = 0.25; // pixels

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    const double upper = *middle;
    const double lower = *std::max_element(values.begin(), middle);
    return 0.5 * (lower + upper);
}

} // namespace

std::vector<bool> InlierMask(std::span<const double> residuals) {
    std::vector<bool> keep(residuals.size(), true);
    if (residuals.empty())
        return keep;
    const double centre = Median({residuals.begin(), residuals.end()});
    std::vector<double> deviations;
    deviations.reserve(residuals.size());
    for (const double r : residuals)
        deviations.push_back(std::fabs(r - centre));
    const double limit =
        std::max(kRobustDeviations * kMadToSigma * Median(deviations), kSmallestRejection);
    for (size_t i = 0; i < residuals.size(); ++i)
        keep[i] = deviations[i] <= limit;
    return keep;
}

} // namespace halvera
