#include "BenchImages.h"
#include "warping/FlipHorizontal.h"
#include "warping/FlipVertical.h"
#include "warping/NetGrid.h"
#include "warping/ScaleRect.h"
#include "warping/WarpNetNode.h"
#include "warping/WarpQuad.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace halvera::bench {
namespace {

// The buffers of a document of kBenchSide x kBenchSide: the image, its working
// copy and the two masks (clear unless a benchmark selects a region).
struct WarpBuffers {
    DibBlock image = MakeTestImage();
    DibBlock working = MakeTestImage();
    DibBlock mask;
    DibBlock savedMask;

    WarpBuffers() {
        if (!CreateGrey(mask, kBenchSide, kBenchSide) ||
            !CreateGrey(savedMask, kBenchSide, kBenchSide))
            throw std::runtime_error("benchmark masks could not be created");
    }
    void SelectEllipse() {
        savedMask = MakeEllipseMask();
        mask = MakeEllipseMask();
    }
};

const PixelRect kWholeImage{0, 0, kBenchSide - 1, kBenchSide - 1};

void RunScaleRect(benchmark::State& state, int destinationSide, bool region) {
    WarpBuffers b;
    if (region)
        b.SelectEllipse();
    const PixelRect destination{0, 0, destinationSide - 1, destinationSide - 1};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScaleRect(b.image.dib(), b.working.dib(), b.mask.dib(),
                                           b.savedMask.dib(), kWholeImage, destination));
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}

void BM_ScaleRect_Double(benchmark::State& state) {
    RunScaleRect(state, 2 * kBenchSide, false);
}
void BM_ScaleRect_Half(benchmark::State& state) {
    RunScaleRect(state, kBenchSide / 2, false);
}
void BM_ScaleRect_DoubleRegion(benchmark::State& state) {
    RunScaleRect(state, 2 * kBenchSide, true);
}
BENCHMARK(BM_ScaleRect_Double)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleRect_Half)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleRect_DoubleRegion)->Unit(benchmark::kMillisecond);

// The whole-image frame turned by `degrees` about its centre, truncated to
// whole pixels as the rotate tool does.
QuadCorners RotatedFrame(double degrees) {
    const QuadCorners frame = RegionBoxCorners(kWholeImage);
    const double angle = degrees * std::numbers::pi / 180.0;
    const double centre = kBenchSide / 2.0;
    QuadCorners rotated{};
    for (size_t k = 0; k < frame.size(); ++k) {
        const double dx = frame[k].x - centre, dy = frame[k].y - centre;
        rotated[k] =
            PixelPoint{static_cast<int32_t>(centre + dx * std::cos(angle) + dy * std::sin(angle)),
                       static_cast<int32_t>(centre - dx * std::sin(angle) + dy * std::cos(angle))};
    }
    return rotated;
}

void RunWarpQuad(benchmark::State& state, const QuadCorners& destination, bool region) {
    WarpBuffers b;
    if (region)
        b.SelectEllipse();
    const QuadCorners source = RegionBoxCorners(kWholeImage);
    for (auto _ : state) {
        benchmark::DoNotOptimize(WarpQuad(b.image.dib(), b.working.dib(), b.mask.dib(),
                                          b.savedMask.dib(), source, destination));
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}

void BM_WarpQuad_Rotate30(benchmark::State& state) {
    RunWarpQuad(state, RotatedFrame(30.0), false);
}
void BM_WarpQuad_Rotate30Region(benchmark::State& state) {
    RunWarpQuad(state, RotatedFrame(30.0), true);
}
void BM_WarpQuad_Perspective(benchmark::State& state) {
    const int last = kBenchSide - 1;
    RunWarpQuad(state, QuadCorners{{{last - 600, 300}, {500, 0}, {0, last}, {last, last - 400}}},
                false);
}
// Real time: the render is shared among worker threads.
BENCHMARK(BM_WarpQuad_Rotate30)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WarpQuad_Rotate30Region)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WarpQuad_Perspective)->Unit(benchmark::kMillisecond)->UseRealTime();

// One node release in the net-warping dialog: the default net on a 500-pixel
// preview, a node near the middle dragged diagonally, its four cells rendered.
void BM_WarpNetNode(benchmark::State& state) {
    WarpBuffers b;
    NetGrid grid;
    grid.Build(kDefaultNetSize, kDefaultNetSize, FitPreview(500, 500, kBenchSide, kBenchSide));
    const NetNode node{grid.columns() / 2, grid.rows() / 2};
    const PixelPoint at = grid.reference(node);
    grid.MoveNode(node, PixelPoint{at.x + 10, at.y - 8});
    const RegionOfInterest roi(b.mask.dib());
    for (auto _ : state) {
        benchmark::DoNotOptimize(WarpNetNode(grid, node, b.image.dib(), b.working.dib(), roi));
        benchmark::ClobberMemory();
    }
    // The four cells span two net sizes each way, scaled to the image.
    const double scale = static_cast<double>(kBenchSide) / grid.preview().width;
    const int side = static_cast<int>(2 * kDefaultNetSize * scale);
    ReportMegapixels(state, side, side);
}
BENCHMARK(BM_WarpNetNode)->Unit(benchmark::kMicrosecond);

void BM_FlipHorizontal(benchmark::State& state) {
    WarpBuffers b;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            FlipHorizontal(b.image.dib(), b.working.dib(), b.mask.dib(), b.savedMask.dib()));
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
void BM_FlipVertical(benchmark::State& state) {
    WarpBuffers b;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            FlipVertical(b.image.dib(), b.working.dib(), b.mask.dib(), b.savedMask.dib()));
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_FlipHorizontal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipVertical)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvera::bench
