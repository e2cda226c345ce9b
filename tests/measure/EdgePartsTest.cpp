// The parts the edge measurements are built from, each on its own: the 1-D
// edge on profiles whose edge is known, the line and circle fits, outlier
// rejection and the .Cal record of a fitted scale.
#include "measure/CalibrationForScale.h"
#include "measure/CircleFit.h"
#include "measure/LineFit.h"
#include "measure/OutlierRejection.h"
#include "measure/ProfileEdge.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace halvera {
namespace {

// A profile from `from` to `to` at the profile step, levels level(t).
template <typename Level> EdgeProfile ProfileOf(double from, double to, Level level) {
    EdgeProfile profile;
    profile.start = from;
    profile.step = kProfileStep;
    for (double t = from; t <= to + 1e-9; t += kProfileStep)
        profile.levels.push_back(level(t));
    return profile;
}

// A straight edge at `at` blurred by a Gaussian of `sigma`, from `low` to `high`.
double BlurredStep(double t, double at, double sigma, double low, double high) {
    return low + (high - low) * 0.5 * std::erfc(-(t - at) / (sigma * std::numbers::sqrt2));
}

TEST(ProfileEdge, PartialAreaFindsABlurredStepOfEitherPolarity) {
    const EdgeProfile rising =
        ProfileOf(-20.0, 20.0, [](double t) { return BlurredStep(t, 3.37, 1.2, 40.0, 210.0); });
    const auto up = LocateProfileEdge(rising, {0.0, 8.0, 0});
    ASSERT_TRUE(up);
    EXPECT_NEAR(up->position, 3.37, 1e-4);
    EXPECT_NEAR(up->contrast, 170.0, 0.5);
    EXPECT_FALSE(LocateProfileEdge(rising, {0.0, 8.0, -1})) << "a rising edge is not falling";

    const EdgeProfile falling =
        ProfileOf(-20.0, 20.0, [](double t) { return BlurredStep(t, -2.81, 0.6, 200.0, 35.0); });
    const auto down = LocateProfileEdge(falling, {0.0, 8.0, -1});
    ASSERT_TRUE(down);
    EXPECT_NEAR(down->position, -2.81, 1e-4);
    EXPECT_LT(down->contrast, 0.0);
}

TEST(ProfileEdge, NothingOnAFlatOrFaintProfileOrBeyondReach) {
    const EdgeProfile flat = ProfileOf(-20.0, 20.0, [](double) { return 120.0; });
    EXPECT_FALSE(LocateProfileEdge(flat, {0.0, 8.0, 0}));
    const EdgeProfile faint =
        ProfileOf(-20.0, 20.0, [](double t) { return BlurredStep(t, 1.0, 1.0, 100.0, 105.0); });
    EXPECT_FALSE(LocateProfileEdge(faint, {0.0, 8.0, 0})) << "5 grey levels are no edge";
    const EdgeProfile far =
        ProfileOf(-30.0, 30.0, [](double t) { return BlurredStep(t, 12.0, 1.0, 40.0, 210.0); });
    EXPECT_FALSE(LocateProfileEdge(far, {0.0, 8.0, 0}));
    EXPECT_TRUE(LocateProfileEdge(far, {0.0, 13.0, 0}));
}

TEST(ProfileEdge, OfTwoEdgesWithinReachTheNearerIsTaken) {
    // A bar of 200 between 4.2 and 11.6 on 40.
    const EdgeProfile bar = ProfileOf(-20.0, 30.0, [](double t) {
        return BlurredStep(t, 4.2, 0.8, 40.0, 200.0) - BlurredStep(t, 11.6, 0.8, 0.0, 160.0);
    });
    const auto near = LocateProfileEdge(bar, {10.0, 8.0, 0});
    ASSERT_TRUE(near);
    EXPECT_NEAR(near->position, 11.6, 1e-3);
    const auto first = LocateProfileEdge(bar, {5.0, 8.0, 0});
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->position, 4.2, 1e-3);
}

// The level at distance r from the centre of a disc of `radius` (level
// `inside` on `outside`) blurred by a Gaussian of `sigma`, by integrating
// the blur over the disc in polar steps.
double BlurredDisc(double r, double radius, double sigma, double inside, double outside) {
    constexpr int kRings = 200;
    constexpr int kSpokes = 360;
    double covered = 0.0;
    const double reach = std::min(radius, r + 6.0 * sigma);
    const double innermost = std::max(0.0, r - 6.0 * sigma);
    const double ring = (reach - innermost) / kRings;
    for (int i = 0; i < kRings; ++i) {
        const double rho = innermost + (i + 0.5) * ring;
        for (int j = 0; j < kSpokes; ++j) {
            const double phi = 2.0 * std::numbers::pi * (j + 0.5) / kSpokes;
            const double dx = rho * std::cos(phi) - r;
            const double dy = rho * std::sin(phi);
            covered += std::exp(-(dx * dx + dy * dy) / (2.0 * sigma * sigma)) * rho;
        }
    }
    covered *= ring * (2.0 * std::numbers::pi / kSpokes) / (2.0 * std::numbers::pi * sigma * sigma);
    return outside + (inside - outside) * covered;
}

TEST(ProfileEdge, WeightingAroundTheBendKeepsABlurredCircleItsRadius) {
    constexpr double kRadius = 12.0;
    constexpr double kSigma = 1.5;
    const EdgeProfile radial =
        ProfileOf(0.5, 30.0, [](double r) { return BlurredDisc(r, kRadius, kSigma, 210.0, 40.0); });
    const auto weighted = LocateProfileEdge(radial, {kRadius, 4.0, -1, 0.0});
    ASSERT_TRUE(weighted);
    EXPECT_NEAR(weighted->position, kRadius, 2e-3);
    // Unweighted, the circle shrinks by about sigma^2 / 2R.
    const auto plain = LocateProfileEdge(radial, {kRadius, 4.0, -1});
    ASSERT_TRUE(plain);
    EXPECT_NEAR(kRadius - plain->position, kSigma * kSigma / (2.0 * kRadius), 0.02);
    // The same edge seen from outside, the profile running toward the centre.
    const EdgeProfile inward = ProfileOf(
        -30.0, -0.5, [](double t) { return BlurredDisc(-t, kRadius, kSigma, 210.0, 40.0); });
    const auto towards = LocateProfileEdge(inward, {-kRadius, 4.0, 1, 0.0});
    ASSERT_TRUE(towards);
    EXPECT_NEAR(towards->position, -kRadius, 2e-3);
}

TEST(LineFit, TotalLeastSquaresTakesSteepLinesAndReportsTheScatter) {
    // A vertical line x = 5, its points in pairs 0.1 to either side.
    std::vector<SubPixelPoint> points;
    for (int i = 0; i < 10; ++i)
        for (const double side : {-0.1, 0.1})
            points.push_back({5.0 + side, 3.0 * i});
    const auto line = FitLine(points);
    ASSERT_TRUE(line);
    EXPECT_NEAR(std::fabs(line->direction.y), 1.0, 1e-12);
    EXPECT_NEAR(line->centre.x, 5.0, 1e-12);
    EXPECT_NEAR(line->residual, 0.1, 1e-12);
    EXPECT_NEAR(line->DistanceOf({7.0, 100.0}), line->Normal().x * 2.0, 1e-12);
    const SubPixelPoint foot = line->Projection({7.0, 4.0});
    EXPECT_NEAR(foot.x, 5.0, 1e-12);
    EXPECT_NEAR(foot.y, 4.0, 1e-12);

    EXPECT_FALSE(FitLine(std::vector<SubPixelPoint>{{1.0, 1.0}}));
    EXPECT_FALSE(FitLine(std::vector<SubPixelPoint>{{1.0, 1.0}, {1.0, 1.0}}));
}

TEST(CircleFit, GeometricFitOfAQuarterArcAndRefusals) {
    // A quarter of a circle of radius 40 around (100, -30), the points
    // alternately 0.05 in and out: the fit keeps the radius.
    std::vector<SubPixelPoint> points;
    for (int i = 0; i < 30; ++i) {
        const double angle = 0.5 * std::numbers::pi * i / 29.0;
        const double r = 40.0 + (i % 2 == 0 ? 0.05 : -0.05);
        points.push_back({100.0 + r * std::cos(angle), -30.0 + r * std::sin(angle)});
    }
    const auto circle = FitCircle(points);
    ASSERT_TRUE(circle);
    EXPECT_NEAR(circle->radius, 40.0, 0.01);
    EXPECT_NEAR(circle->centre.x, 100.0, 0.01);
    EXPECT_NEAR(circle->centre.y, -30.0, 0.01);
    EXPECT_NEAR(circle->residual, 0.05, 0.005);

    EXPECT_FALSE(FitCircle(std::vector<SubPixelPoint>{{0.0, 0.0}, {1.0, 1.0}}));
    EXPECT_FALSE(FitCircle(std::vector<SubPixelPoint>{{0.0, 0.0}, {1.0, 1.0}, {2.0, 2.0}}));
}

TEST(OutlierRejection, DropsWildPointsAndKeepsACleanSetWhole) {
    const std::vector<double> clean = {0.01, -0.02, 0.0, 0.15, -0.2, 0.03};
    EXPECT_EQ(InlierMask(clean), std::vector<bool>(clean.size(), true))
        << "nothing within a quarter pixel is dropped";
    const std::vector<double> dusty = {0.01, -0.02, 0.0, 2.0, -0.01, 0.02, 0.0};
    EXPECT_EQ(InlierMask(dusty), (std::vector<bool>{true, true, true, false, true, true, true}));

    // A straight edge at y = 10 with a speck of dust on it.
    std::vector<SubPixelPoint> points;
    for (int x = 0; x < 12; ++x)
        points.push_back({static_cast<double>(x), x == 6 ? 13.0 : 10.0});
    const auto line = FitWithoutOutliers(
        points, 3, FitLine, [](const FittedLine& l, SubPixelPoint p) { return l.DistanceOf(p); });
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->centre.y, 10.0, 1e-12);
    EXPECT_NEAR(line->residual, 0.0, 1e-12);
    EXPECT_FALSE(
        FitWithoutOutliers(std::vector<SubPixelPoint>{{0, 0}, {1, 1}}, 3, FitLine,
                           [](const FittedLine& l, SubPixelPoint p) { return l.DistanceOf(p); }))
        << "fewer points than the fit needs";
}

TEST(CalibrationForScale, TheLargestPixelSizeThatKeepsTheRealSizeWithin2000) {
    const auto fine = CalibrationForScale(1, {0.578034682, 0.5});
    ASSERT_TRUE(fine);
    EXPECT_EQ(fine->unit, 1);
    EXPECT_EQ(fine->pixelWidth, 2000);
    EXPECT_DOUBLE_EQ(fine->realX / fine->pixelWidth, 0.578034682);
    EXPECT_EQ(fine->pixelHeight, 2000);

    const auto coarse = CalibrationForScale(0, {3.7, 1999.0});
    ASSERT_TRUE(coarse);
    EXPECT_EQ(coarse->pixelWidth, 540);
    EXPECT_LE(coarse->realX, 2000.0);
    EXPECT_DOUBLE_EQ(coarse->realX / coarse->pixelWidth, 3.7);
    EXPECT_EQ(coarse->pixelHeight, 1);

    EXPECT_FALSE(CalibrationForScale(0, {2500.0, 1.0}));
    EXPECT_FALSE(CalibrationForScale(0, {1.0, 0.0}));
}

} // namespace
} // namespace halvera
