#include "BenchImages.h"
#include "measure/CircularEdge.h"
#include "measure/EdgePoint.h"
#include "measure/StraightEdge.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace halvera::bench {
namespace {

// A 24-bit picture of kBenchSide x kBenchSide with a straight edge at 17
// degrees through (1024, 2048) on its left half and a disc of radius 200
// around (3072, 2048) on its right, each pixel's level following the share
// of it inside (from its centre's distance to the edge, which is exact
// enough for timing), on a little noise.
const SubPixelPoint kEdgePoint{1024.3, 2048.6};
constexpr double kEdgeDegrees = 17.0;
const SubPixelPoint kDiscCentre{3072.4, 2048.2};
constexpr double kDiscRadius = 200.0;

double InsideShare(double distanceInside) {
    return std::clamp(0.5 + distanceInside, 0.0, 1.0);
}

DibBlock MakeEdgePicture() {
    DibBlock picture;
    if (!CreateRgb(picture, kBenchSide, kBenchSide))
        throw std::runtime_error("benchmark picture could not be created");
    const double turn = kEdgeDegrees * std::numbers::pi / 180.0;
    const double nx = -std::sin(turn);
    const double ny = -std::cos(turn);
    for (int y = 0; y < kBenchSide; ++y) {
        uint8_t* row = picture.dib().row(y);
        for (int x = 0; x < kBenchSide; ++x) {
            const double share =
                x < kBenchSide / 2
                    ? InsideShare(nx * (x - kEdgePoint.x) + ny * (y - kEdgePoint.y))
                    : InsideShare(kDiscRadius - std::hypot(x - kDiscCentre.x, y - kDiscCentre.y));
            const auto level = static_cast<uint8_t>(40.0 + 160.0 * share + ((x * 7 + y * 13) % 5));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = level;
        }
    }
    return picture;
}

const DibBlock& EdgePicture() {
    static const DibBlock picture = MakeEdgePicture();
    return picture;
}

SubPixelPoint OnEdge(double along) {
    const double turn = kEdgeDegrees * std::numbers::pi / 180.0;
    return {kEdgePoint.x + along * std::cos(turn), kEdgePoint.y - along * std::sin(turn)};
}

// Edge-line over 400 pixels, drawn 3 pixels off the edge.
void BM_FindStraightEdge(benchmark::State& state) {
    const CDibImage picture = EdgePicture().dib();
    const SubPixelPoint from = OnEdge(-200.0);
    const SubPixelPoint to = OnEdge(200.0);
    const SubPixelPoint offFrom{from.x, from.y + 3.0};
    const SubPixelPoint offTo{to.x, to.y + 3.0};
    for (auto _ : state) {
        const auto edge = FindStraightEdge(picture, offFrom, offTo, kDefaultSnapRadius);
        if (!edge)
            state.SkipWithError("no edge found");
        benchmark::DoNotOptimize(edge);
    }
}
BENCHMARK(BM_FindStraightEdge)->Unit(benchmark::kMillisecond);

// Edge-circle of radius 200, the guess 2 pixels off.
void BM_FindCircularEdge(benchmark::State& state) {
    const CDibImage picture = EdgePicture().dib();
    const SubPixelPoint guess{kDiscCentre.x + 2.0, kDiscCentre.y - 1.0};
    for (auto _ : state) {
        const auto circle = FindCircularEdge(picture, guess, kDiscRadius + 2.0, kDefaultSnapRadius);
        if (!circle)
            state.SkipWithError("no circle found");
        benchmark::DoNotOptimize(circle);
    }
}
BENCHMARK(BM_FindCircularEdge)->Unit(benchmark::kMillisecond);

// One interactive snap, as a click with "Snap to edges" makes: the edge point
// near a position 3 pixels off the edge. It must stay under 2 ms.
void BM_SnapToEdge(benchmark::State& state) {
    const CDibImage picture = EdgePicture().dib();
    const SubPixelPoint on = OnEdge(37.0);
    const SubPixelPoint near{on.x + 1.0, on.y + 3.0};
    for (auto _ : state) {
        const auto point = FindEdgePoint(picture, near, kDefaultSnapRadius);
        if (!point)
            state.SkipWithError("no edge point found");
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK(BM_SnapToEdge)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace halvera::bench
