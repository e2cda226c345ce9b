#include "BenchImages.h"
#include "image/SelectionBounds.h"
#include "view/BuildOutlineMap.h"
#include "view/CropToSelection.h"
#include "view/FillMaskEllipse.h"
#include "view/FillMaskPolygon.h"
#include "view/FloodFillMask.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace halvera::bench {
namespace {

DibBlock BlankMask() {
    DibBlock mask;
    if (!CreateGrey(mask, kBenchSide, kBenchSide))
        throw std::runtime_error("benchmark mask could not be created");
    return mask;
}

// A star of 400 spikes over the whole image: deeply concave, so most rows
// cross hundreds of edges.
std::vector<PixelPoint> StarPolygon() {
    constexpr int kSpikes = 400;
    const double centre = kBenchSide / 2.0;
    std::vector<PixelPoint> points;
    for (int k = 0; k < 2 * kSpikes; ++k) {
        const double radius = (k % 2 == 0 ? 0.49 : 0.2) * kBenchSide;
        const double angle = k * std::numbers::pi / kSpikes;
        points.push_back({static_cast<int32_t>(centre + radius * std::cos(angle)),
                          static_cast<int32_t>(centre + radius * std::sin(angle))});
    }
    return points;
}

void BM_FillMaskPolygon(benchmark::State& state) {
    DibBlock mask = BlankMask();
    const std::vector<PixelPoint> star = StarPolygon();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FillMaskPolygon(mask.dib(), star, 255));
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_FillMaskPolygon)->Unit(benchmark::kMillisecond);

void BM_FillMaskEllipse(benchmark::State& state) {
    DibBlock mask = BlankMask();
    for (auto _ : state) {
        FillMaskEllipse(mask.dib(), {0, 0, kBenchSide - 1, kBenchSide - 1}, 255);
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_FillMaskEllipse)->Unit(benchmark::kMillisecond);

// The inscribed ellipse cut by vertical slits into a comb of teeth joined by
// bands every 512 rows: many spans for the fill's stack.
DibBlock CombMask() {
    DibBlock mask = MakeEllipseMask();
    for (int y = 0; y < kBenchSide; ++y) {
        uint8_t* row = mask.dib().row(y);
        if (y % 512 < 8)
            continue;
        for (int x = 0; x < kBenchSide; x += 8)
            row[x] = 0;
    }
    return mask;
}

void BM_FloodFillMask(benchmark::State& state) {
    DibBlock mask = CombMask();
    const PixelPoint seed{kBenchSide / 2 + 1, kBenchSide / 2};
    uint8_t from = 255, to = 128;
    for (auto _ : state) {
        // Alternate the values so each pass refills the same piece.
        if (FloodFillMask(mask.dib(), seed, from, to) != 1)
            state.SkipWithError("flood fill refused");
        std::swap(from, to);
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_FloodFillMask)->Unit(benchmark::kMillisecond);

// Arg: zoom in percent. The map is always 4096 x 4096 window pixels.
void BM_BuildOutlineMap(benchmark::State& state) {
    const DibBlock mask = MakeEllipseMask();
    const double zoom = static_cast<double>(state.range(0)) / 100.0;
    const OutlineViewport viewport{0, 0, zoom, kBenchSide, kBenchSide, kBenchSide, kBenchSide};
    DibBlock map;
    for (auto _ : state) {
        if (!BuildOutlineMap(map, mask.dib(), viewport))
            state.SkipWithError("outline map failed");
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_BuildOutlineMap)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SelectionBounds(benchmark::State& state) {
    const DibBlock mask = MakeEllipseMask();
    for (auto _ : state)
        benchmark::DoNotOptimize(SelectionBounds(mask.dib()));
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_SelectionBounds)->Unit(benchmark::kMillisecond);

void BM_CropToSelection(benchmark::State& state) {
    const DibBlock image = MakeTestImage();
    const DibBlock mask = MakeEllipseMask();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CropToSelection(image.dib(), mask.dib()));
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_CropToSelection)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvera::bench
