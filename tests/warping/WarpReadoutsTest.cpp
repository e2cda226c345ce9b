#include "warping/WarpReadouts.h"

#include <gtest/gtest.h>
#include <numbers>

namespace halvera {
namespace {

TEST(WarpReadouts, ZoomShowsBothFactorsWithTwoDecimalsAndAFullWidthComma) {
    // U+FF0C is EF BC 8C in UTF-8.
    EXPECT_EQ(ZoomReadout(1.5, 0.75), "(Horz = 1.50\xEF\xBC\x8CVert = 0.75)");
    EXPECT_EQ(ZoomReadout(2.0 / 3.0, 10240.0), "(Horz = 0.67\xEF\xBC\x8CVert = 10240.00)");
}

TEST(WarpReadouts, AngleShowsDegreesWithThreeDecimals) {
    EXPECT_EQ(AngleReadout(0.0), "(Angle = 0.000)");
    EXPECT_EQ(AngleReadout(std::numbers::pi / 2), "(Angle = 90.000)");
    EXPECT_EQ(AngleReadout(1.0), "(Angle = 57.296)");
}

TEST(WarpReadouts, AnAngleJustShortOfAFullTurnReadsZeroNotMinusZero) {
    const double fullTurn = 2 * std::numbers::pi;
    EXPECT_EQ(AngleReadout(fullTurn - 1e-9), "(Angle = 0.000)");
    // 359.9997 degrees: rounds to 360.000, shown as the turn it is.
    EXPECT_EQ(AngleReadout(359.9997 / 57.29577951308232), "(Angle = 0.000)");
    EXPECT_EQ(AngleReadout(359.9994 / 57.29577951308232), "(Angle = 359.999)");
}

} // namespace
} // namespace halvera
