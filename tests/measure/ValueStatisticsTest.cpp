// The batch statistics of a value against a plain computation of their
// textbook definitions.
#include "measure/ValueStatistics.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace halvera::testing {
namespace {

TEST(ValueStatistics, MatchAPlainComputation) {
    const std::vector<double> values = {10.012, 9.987, 10.031, 10.004, 9.975, 10.019, 10.008};
    const ToleranceEntry tolerance{10.0, 0.05, -0.03};
    const ValueStatistics s = ComputeValueStatistics(values, tolerance);

    double sum = 0.0;
    for (const double v : values)
        sum += v;
    const double mean = sum / values.size();
    double squares = 0.0;
    for (const double v : values)
        squares += (v - mean) * (v - mean);
    const double sd = std::sqrt(squares / (values.size() - 1));
    const double usl = 10.05, lsl = 9.97;

    EXPECT_EQ(s.n, 7);
    EXPECT_NEAR(s.mean, mean, 1e-12);
    EXPECT_NEAR(s.sd, sd, 1e-12);
    EXPECT_EQ(s.min, *std::min_element(values.begin(), values.end()));
    EXPECT_EQ(s.max, *std::max_element(values.begin(), values.end()));
    ASSERT_TRUE(s.cp && s.cpk);
    EXPECT_NEAR(*s.cp, (usl - lsl) / (6.0 * sd), 1e-9);
    EXPECT_NEAR(*s.cpk, std::min(usl - mean, mean - lsl) / (3.0 * sd), 1e-9);
    EXPECT_LT(*s.cpk, *s.cp); // the mean lies off the middle of the band
}

TEST(ValueStatistics, CapabilityOnlyWithTwoLimitsAndSpread) {
    const std::vector<double> values = {1.0, 1.5, 2.0};
    EXPECT_FALSE(ComputeValueStatistics(values, std::nullopt).cp);
    // An entry whose upper limit is not above its lower one has no band.
    EXPECT_FALSE(ComputeValueStatistics(values, ToleranceEntry{1.5, 0.0, 0.0}).cp);
    EXPECT_TRUE(ComputeValueStatistics(values, ToleranceEntry{1.5, 1.0, -1.0}).cpk);
    const std::vector<double> same = {2.0, 2.0};
    const ValueStatistics flat = ComputeValueStatistics(same, ToleranceEntry{2.0, 1.0, -1.0});
    EXPECT_EQ(flat.sd, 0.0);
    EXPECT_FALSE(flat.cp);
    const ValueStatistics one = ComputeValueStatistics(std::vector<double>{4.5}, std::nullopt);
    EXPECT_EQ(one.n, 1);
    EXPECT_EQ(one.mean, 4.5);
    EXPECT_EQ(one.sd, 0.0);
    EXPECT_EQ(ComputeValueStatistics({}, std::nullopt).n, 0);
}

TEST(ValueStatistics, KeepDigitsOfLargeValuesWithSmallSpread) {
    // A running sum of squares loses these to cancellation.
    const std::vector<double> values = {1e8 + 0.001, 1e8 + 0.002, 1e8 + 0.003};
    EXPECT_NEAR(ComputeValueStatistics(values, std::nullopt).sd, 0.001, 1e-6);
}

} // namespace
} // namespace halvera::testing
