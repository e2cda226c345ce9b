#include "BenchImages.h"
#include "image/RegionOfInterest.h"
#include "view/Brush.h"
#include "view/FloodFillColor.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace halvera::bench {
namespace {

constexpr ColourRef kRed = MakeColourRef(255, 0, 0);
constexpr ColourRef kBlack = MakeColourRef(0, 0, 0);

// The fill over the realistic test image from its centre with the default
// tolerance; the image is put back, untimed, before every pass.
void BM_FloodFillColor(benchmark::State& state) {
    const DibBlock source = MakeTestImage();
    DibBlock image = MakeTestImage();
    const RegionOfInterest none{CDibImage{}};
    const PixelPoint seed{kBenchSide / 2, kBenchSide / 2};
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(image.dib().bits, source.dib().bits,
                    static_cast<size_t>(source.dib().bitsSize));
        state.ResumeTiming();
        if (FloodFillColor(image.dib(), none, seed, kRed, static_cast<int>(state.range(0))) != 1)
            state.SkipWithError("flood fill refused");
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_FloodFillColor)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

// A one-pixel checkerboard: half the image is one piece joined only at
// corners, one span per pixel. Black and red alternate, so each pass refills
// the same piece.
void BM_FloodFillColorCheckerboard(benchmark::State& state) {
    DibBlock board;
    if (!CreateRgb(board, kBenchSide, kBenchSide))
        throw std::runtime_error("benchmark image could not be created");
    for (int y = 0; y < kBenchSide; ++y) {
        uint8_t* p = board.dib().row(y);
        for (int x = 0; x < kBenchSide; ++x, p += 3)
            p[0] = p[1] = p[2] = (x + y) % 2 == 0 ? 0 : 255;
    }
    const RegionOfInterest none{CDibImage{}};
    ColourRef to = kRed, from = kBlack;
    for (auto _ : state) {
        if (FloodFillColor(board.dib(), none, {0, 0}, to, 0) != 1)
            state.SkipWithError("flood fill refused");
        std::swap(from, to);
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_FloodFillColorCheckerboard)->Unit(benchmark::kMillisecond);

// A long pencil stroke: a zigzag of 64 segments from edge to edge, about
// 262000 brush stamps. Arg: brush size.
void BM_PencilStroke(benchmark::State& state) {
    DibBlock image = MakeTestImage();
    std::vector<PixelPoint> path;
    for (int i = 0; i <= 64; ++i)
        path.push_back({i % 2 == 0 ? 0 : kBenchSide - 1, i * (kBenchSide - 1) / 64});
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const PaintCanvas canvas(image.dib(), CDibImage{}, kRed);
        StampBrush(canvas, path.front(), size);
        for (size_t i = 1; i < path.size(); ++i)
            StrokeLine(canvas, path[i - 1], path[i], size);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 64 * kBenchSide);
}
BENCHMARK(BM_PencilStroke)->Arg(1)->Arg(8)->Arg(30)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvera::bench
