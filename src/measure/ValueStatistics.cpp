#include "measure/ValueStatistics.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

// Mean and spread in two passes: the deviations from the mean are summed
// only once the mean is known, which keeps the digits that a running sum of
// squares loses when the values are large beside their spread.
void AddMeanAndSpread(ValueStatistics& s, std::span<const double> values) {
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    s.mean = sum / static_cast<double>(values.size());
    if (values.size() < 2)
        return;
    double squares = 0.0;
    for (const double v : values)
        squares += (v - s.mean) * (v - s.mean);
    s.sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
}

void AddCapability(ValueStatistics& s, const ToleranceEntry& tolerance) {
    if (!(tolerance.upper > tolerance.lower) || !(s.sd > 0.0))
        return;
    const double upperLimit = tolerance.standard + tolerance.upper;
    const double lowerLimit = tolerance.standard + tolerance.lower;
    s.cp = (upperLimit - lowerLimit) / (6.0 * s.sd);
    s.cpk = std::min(upperLimit - s.mean, s.mean - lowerLimit) / (3.0 * s.sd);
}

} // namespace

ValueStatistics ComputeValueStatistics(std::span<const double> values,
                                       const std::optional<ToleranceEntry>& tolerance) {
    ValueStatistics s;
    s.n = static_cast<int>(values.size());
    if (values.empty())
        return s;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    s.min = *low;
    s.max = *high;
    AddMeanAndSpread(s, values);
    if (tolerance)
        AddCapability(s, *tolerance);
    return s;
}

} // namespace halvera
