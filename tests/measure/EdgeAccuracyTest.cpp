// How closely the edge measurements find edges whose geometry is known:
// pictures rendered with exact area coverage, sharp or blurred, clean or
// noisy (fixed seeds), at many angles and sub-pixel positions.
#include "EdgePictures.h"
#include "measure/CircularEdge.h"
#include "measure/EdgePoint.h"
#include "measure/EdgeWidth.h"
#include "measure/MicrometerTicks.h"
#include "measure/StraightEdge.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace halvera::testing {
namespace {

// One column of the accuracy table: how the pictures look and what each
// measurement must reach on them (a negative limit: not required there).
struct Condition {
    const char* name;
    double blur;
    double noise;
    double linePosition, lineDegrees, circle, width, point, scale;
};

constexpr Condition kSharp{"sharp", 0.0, 0.0, 0.02, 0.02, 0.02, 0.03, 0.03, 1e-4};
constexpr Condition kBlurred{"blur 1", 1.0, 0.0, 0.02, 0.02, 0.04, -1, -1, 1e-4};
constexpr Condition kNoisy{"blur 1, noise 2", 1.0, 2.0, 0.06, 0.06, 0.05, 0.10, 0.15, 3e-4};
constexpr Condition kSoft{"blur 1.5, noise 3", 1.5, 3.0, 0.10, 0.10, -1, -1, -1, -1};
constexpr Condition kConditions[] = {kSharp, kBlurred, kNoisy, kSoft};

Look LookOf(const Condition& condition, uint64_t seed, bool lightInside = true) {
    Look look;
    look.inside = lightInside ? 205.0 : 35.0;
    look.outside = lightInside ? 35.0 : 205.0;
    look.blur = condition.blur;
    look.noise = condition.noise;
    look.seed = seed;
    return look;
}

SubPixelPoint Along(SubPixelPoint from, SubPixelPoint direction, double distance) {
    return {from.x + distance * direction.x, from.y + distance * direction.y};
}

double DegreesBetween(SubPixelPoint a, SubPixelPoint b) {
    const double turn = std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
    const double degrees = std::fabs(turn) * 180.0 / std::numbers::pi;
    return std::min(degrees, 180.0 - degrees);
}

constexpr double kLineAngles[] = {-40.0, -25.0, -7.5, 0.0, 0.3, 2.0, 17.0, 33.0, 40.0};

TEST(EdgeAccuracy, EdgeLineEndsAndAngleAcross400Pixels) {
    for (const Condition& condition : kConditions) {
        double worstPosition = 0.0;
        double worstDegrees = 0.0;
        for (size_t i = 0; i < std::size(kLineAngles); ++i) {
            SCOPED_TRACE(std::string(condition.name) + ", angle " + std::to_string(kLineAngles[i]));
            const StraightEdgeTruth truth{{220.0 + 0.137 * i, 220.0 - 0.291 * i}, kLineAngles[i]};
            const DibBlock picture =
                RenderGrey(CoverHalfPlane(440, 440, truth), LookOf(condition, 100 + i, i % 2 == 0));
            // Drawn 2.5 pixels off the edge and a degree askew, as a hand would.
            const SubPixelPoint along = truth.Direction();
            const double skew = (truth.degrees + 1.0) * std::numbers::pi / 180.0;
            const SubPixelPoint drawn{std::cos(skew), -std::sin(skew)};
            const SubPixelPoint middle{truth.onEdge.x + 2.5 * along.y,
                                       truth.onEdge.y - 2.5 * along.x};
            const SubPixelPoint from = Along(middle, drawn, -200.0);
            const SubPixelPoint to = Along(middle, drawn, 200.0);

            const auto edge = FindStraightEdge(picture.dib(), from, to, 8.0);
            ASSERT_TRUE(edge) << EdgeMissText(edge.miss(), 8.0);
            const double position = std::max(std::fabs(truth.InsideDistance(edge->start)),
                                             std::fabs(truth.InsideDistance(edge->end)));
            const double degrees = DegreesBetween(edge->line.direction, along);
            EXPECT_LE(position, condition.linePosition);
            EXPECT_LE(degrees, condition.lineDegrees);
            worstPosition = std::max(worstPosition, position);
            worstDegrees = std::max(worstDegrees, degrees);
            // The ends are the drawn ends carried square onto the edge.
            EXPECT_NEAR(std::hypot(edge->end.x - edge->start.x, edge->end.y - edge->start.y),
                        400.0 * std::cos(std::numbers::pi / 180.0), 0.1);
        }
        RecordProperty(std::string("line ") + condition.name,
                       std::to_string(worstPosition) + " px, " + std::to_string(worstDegrees) +
                           " deg");
    }
}

constexpr double kRadii[] = {12.0, 14.63, 17.8, 25.5, 40.2, 63.1, 80.0};

TEST(EdgeAccuracy, EdgeCircleRadiusAndCentreOverTheWholeCircumference) {
    for (const Condition& condition : {kSharp, kBlurred, kNoisy}) {
        double worst = 0.0;
        for (size_t i = 0; i < std::size(kRadii); ++i) {
            const double radius = kRadii[i];
            SCOPED_TRACE(std::string(condition.name) + ", radius " + std::to_string(radius));
            const int side = static_cast<int>(2 * radius) + 60;
            const SubPixelPoint centre{side / 2.0 + 0.21 * i, side / 2.0 - 0.13 - 0.07 * i};
            // Odd ones a dark hole in a light plate, even ones a light disc.
            const DibBlock picture = RenderGrey(CoverDisc(side, side, centre, radius),
                                                LookOf(condition, 200 + i, i % 2 == 0));
            const SubPixelPoint guess{centre.x + 1.7, centre.y - 1.2};

            const auto circle = FindCircularEdge(picture.dib(), guess, radius + 2.5, 8.0);
            ASSERT_TRUE(circle) << EdgeMissText(circle.miss(), 8.0);
            const double radiusError = std::fabs(circle->radius - radius);
            const double centreError =
                std::hypot(circle->centre.x - centre.x, circle->centre.y - centre.y);
            EXPECT_LE(radiusError, condition.circle);
            EXPECT_LE(centreError, condition.circle);
            worst = std::max({worst, radiusError, centreError});
        }
        RecordProperty(std::string("circle ") + condition.name, std::to_string(worst));
    }
}

constexpr double kBarWidths[] = {12.0, 19.6, 27.3, 40.0};
constexpr double kBarAngles[] = {0.0, 9.0, -23.0, 37.0};

TEST(EdgeAccuracy, WidthOfBarsCrossedAtASlant) {
    for (const Condition& condition : {kSharp, kNoisy}) {
        double worst = 0.0;
        for (size_t i = 0; i < std::size(kBarWidths); ++i) {
            const double barWidth = kBarWidths[i];
            SCOPED_TRACE(std::string(condition.name) + ", width " + std::to_string(barWidth));
            const StraightEdgeTruth edge{{100.3 + 0.17 * i, 100.0 + 0.41 * i}, kBarAngles[i]};
            const DibBlock picture = RenderGrey(CoverBar(200, 200, edge, barWidth),
                                                LookOf(condition, 300 + i, i % 2 == 1));
            // From 10 pixels outside, across the bar at 12 degrees from square.
            const SubPixelPoint along = edge.Direction();
            const SubPixelPoint inward{along.y, -along.x};
            const double slant = 12.0 * std::numbers::pi / 180.0;
            const SubPixelPoint way{std::cos(slant) * inward.x + std::sin(slant) * along.x,
                                    std::cos(slant) * inward.y + std::sin(slant) * along.y};
            const double reach = (barWidth + 20.0) / std::cos(slant);
            const SubPixelPoint from = Along(edge.onEdge, way, -10.0 / std::cos(slant));

            const auto width = MeasureEdgeWidth(picture.dib(), from, Along(from, way, reach), 8.0);
            ASSERT_TRUE(width) << EdgeMissText(width.miss(), 8.0);
            const double measured =
                std::hypot(width->end.x - width->start.x, width->end.y - width->start.y);
            EXPECT_LE(std::fabs(measured - barWidth), condition.width);
            EXPECT_LE(std::fabs(edge.InsideDistance(width->start)), condition.width);
            worst = std::max(worst, std::fabs(measured - barWidth));
        }
        RecordProperty(std::string("width ") + condition.name, std::to_string(worst));
    }
}

// The point of the true edge nearest `near`.
SubPixelPoint NearestOnLine(const StraightEdgeTruth& edge, SubPixelPoint near) {
    const double inside = edge.InsideDistance(near);
    const SubPixelPoint along = edge.Direction();
    return {near.x - inside * along.y, near.y + inside * along.x};
}

TEST(EdgeAccuracy, EdgePointIsTheNearestPointOfStraightAndCurvedEdges) {
    for (const Condition& condition : {kSharp, kNoisy}) {
        double worst = 0.0;
        for (size_t i = 0; i < std::size(kLineAngles); ++i) {
            SCOPED_TRACE(std::string(condition.name) + ", angle " + std::to_string(kLineAngles[i]));
            const StraightEdgeTruth truth{{60.0 + 0.23 * i, 60.0 + 0.31 * i}, kLineAngles[i]};
            const DibBlock picture =
                RenderGrey(CoverHalfPlane(120, 120, truth), LookOf(condition, 400 + i, i % 2 == 0));
            const SubPixelPoint near{truth.onEdge.x + 3.0 - 0.4 * i,
                                     truth.onEdge.y - 2.0 + 0.5 * i};

            const auto point = FindEdgePoint(picture.dib(), near, 8.0);
            ASSERT_TRUE(point) << EdgeMissText(point.miss(), 8.0);
            const SubPixelPoint expected = NearestOnLine(truth, near);
            const double error = std::hypot(point->x - expected.x, point->y - expected.y);
            EXPECT_LE(error, condition.point);
            worst = std::max(worst, error);
        }
        for (size_t i = 0; i < std::size(kRadii); ++i) {
            SCOPED_TRACE(std::string(condition.name) + ", radius " + std::to_string(kRadii[i]));
            const int side = static_cast<int>(2 * kRadii[i]) + 60;
            const SubPixelPoint centre{side / 2.0 - 0.31, side / 2.0 + 0.17 * i};
            const DibBlock picture = RenderGrey(CoverDisc(side, side, centre, kRadii[i]),
                                                LookOf(condition, 500 + i, i % 2 == 1));
            const double toward = 0.9 * static_cast<double>(i);
            const SubPixelPoint near{centre.x + (kRadii[i] + 2.0) * std::cos(toward),
                                     centre.y + (kRadii[i] + 2.0) * std::sin(toward)};

            const auto point = FindEdgePoint(picture.dib(), near, 8.0);
            ASSERT_TRUE(point) << EdgeMissText(point.miss(), 8.0);
            const SubPixelPoint expected{centre.x + kRadii[i] * std::cos(toward),
                                         centre.y + kRadii[i] * std::sin(toward)};
            const double error = std::hypot(point->x - expected.x, point->y - expected.y);
            EXPECT_LE(error, condition.point);
            worst = std::max(worst, error);
        }
        RecordProperty(std::string("point ") + condition.name, std::to_string(worst));
    }
}

struct CombCase {
    TickComb comb;
    bool lightTicks;
};

constexpr CombCase kCombs[] = {
    {{false, 20.37, 17.3, 25, 2.5, 0.0, 110.0}, false},
    {{false, 15.11, 20.0, 22, 3.0, 0.3, 110.0}, true},
    {{false, 12.6, 12.37, 35, 2.0, -0.2, 110.0}, false},
    {{true, 18.4, 19.03, 23, 2.5, 0.15, 110.0}, false},
};

TEST(EdgeAccuracy, MicrometerPeriodOverTwentyTicksAndMore) {
    for (const Condition& condition : {kSharp, kBlurred, kNoisy}) {
        double worst = 0.0;
        for (size_t i = 0; i < std::size(kCombs); ++i) {
            const TickComb& comb = kCombs[i].comb;
            SCOPED_TRACE(std::string(condition.name) + ", period " + std::to_string(comb.period));
            const int along = static_cast<int>(comb.first + comb.period * comb.count) + 20;
            const int width = comb.alongY ? 160 : along;
            const int height = comb.alongY ? along : 160;
            const DibBlock picture = RenderGrey(CoverTicks(width, height, comb),
                                                LookOf(condition, 600 + i, kCombs[i].lightTicks));

            const auto period = FitTickPeriod(picture.dib(), {0, 0, width - 1, height - 1},
                                              comb.alongY ? TickAxis::Y : TickAxis::X);
            ASSERT_TRUE(period);
            EXPECT_EQ(period->ticks, comb.count);
            const double error = std::fabs(period->period - comb.period) / comb.period;
            EXPECT_LE(error, condition.scale);
            worst = std::max(worst, error);
        }
        RecordProperty(std::string("scale ") + condition.name, std::to_string(worst));
    }
}

} // namespace
} // namespace halvera::testing
