#pragma once

#include "measure/ToleranceTable.h"

#include <optional>
#include <span>

namespace halvera {

// The statistics of one value across a batch of parts.
struct ValueStatistics {
    int n = 0;
    double mean = 0.0;
    double sd = 0.0; // sample standard deviation (n - 1); 0 for fewer than two values
    double min = 0.0;
    double max = 0.0;
    // Process capability against the tolerance's limits (standard + lower
    // .. standard + upper): Cp = (USL - LSL) / 6 sd, Cpk = the nearer
    // limit's distance from the mean / 3 sd. Nothing without a tolerance
    // whose upper limit lies above its lower one, or without spread.
    std::optional<double> cp;
    std::optional<double> cpk;
};

// The statistics of `values` (none when empty: n = 0), judged against
// `tolerance` when there is one.
ValueStatistics ComputeValueStatistics(std::span<const double> values,
                                       const std::optional<ToleranceEntry>& tolerance);

} // namespace halvera
