// Every processing operation on a 4096 x 4096 image, without a region and
// with an elliptical one; brightness and contrast also at 2048 x 2048, the
// size a dragged slider must keep up with.
#include "BenchImages.h"
#include "image/RowBands.h"
#include "processing/ApplyBrightness.h"
#include "processing/ApplyColorBalance.h"
#include "processing/ApplyContrast.h"
#include "processing/ApplyHueSaturation.h"
#include "processing/EdgeDirectional.h"
#include "processing/EdgeKirsch.h"
#include "processing/EdgeLaplace.h"
#include "processing/EdgePrewitt.h"
#include "processing/EdgeRoberts.h"
#include "processing/EdgeSobel.h"
#include "processing/FilterAverage.h"
#include "processing/FilterLowPass.h"
#include "processing/FilterMedian.h"
#include "processing/GrayscaleImage.h"
#include "processing/InvertImage.h"
#include "processing/MeanGray.h"

#include <stdexcept>

namespace halvera::bench {
namespace {

// The image, its working copy and (for argument 1) an elliptical region.
struct Operands {
    explicit Operands(const benchmark::State& state)
        : side(static_cast<int>(state.range(0))), working(MakeTestImage(side, side)),
          image(MakeTestImage(side, side)) {
        if (state.range(1) != 0)
            mask = MakeEllipseMask(side, side);
    }
    int side;
    DibBlock working;
    DibBlock image;
    DibBlock mask;
};

template <class Operation> void Run(benchmark::State& state, Operation operation) {
    Operands operands(state);
    for (auto _ : state) {
        if (!operation(operands.image.dib(), operands.working.dib(), operands.mask.dib()))
            throw std::runtime_error("operation refused its operands");
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, operands.side, operands.side);
}

void WholeAndRegion(benchmark::internal::Benchmark* b) {
    b->ArgNames({"side", "region"})
        ->Args({kBenchSide, 0})
        ->Args({kBenchSide, 1})
        ->Unit(benchmark::kMillisecond);
}

void SliderSizes(benchmark::internal::Benchmark* b) {
    WholeAndRegion(b);
    b->Args({2048, 0});
}

void BM_InvertImage(benchmark::State& state) {
    Run(state, [](auto& d, auto&, auto& m) { return InvertImage(d, m); });
}
BENCHMARK(BM_InvertImage)->Apply(WholeAndRegion);

void BM_GrayscaleImage(benchmark::State& state) {
    Run(state, [](auto& d, auto&, auto& m) { return GrayscaleImage(d, m); });
}
BENCHMARK(BM_GrayscaleImage)->Apply(WholeAndRegion);

void BM_MeanGray(benchmark::State& state) {
    Run(state, [](auto&, auto& s, auto& m) { return MeanGray(s, m).has_value(); });
}
BENCHMARK(BM_MeanGray)->Apply(WholeAndRegion);

void BM_ApplyBrightness(benchmark::State& state) {
    BrightnessContrastTables tables;
    int percent = -100;
    Run(state, [&](auto& d, auto& s, auto& m) {
        percent = percent == 100 ? -100 : percent + 1; // a dragged slider
        return ApplyBrightness(tables, d, s, m, percent);
    });
}
BENCHMARK(BM_ApplyBrightness)->Apply(SliderSizes);

void BM_ApplyContrast(benchmark::State& state) {
    BrightnessContrastTables tables;
    int percent = -100;
    Run(state, [&](auto& d, auto& s, auto& m) {
        percent = percent == 100 ? -100 : percent + 1;
        return ApplyContrast(tables, d, s, m, 117, percent);
    });
}
BENCHMARK(BM_ApplyContrast)->Apply(SliderSizes);

void BM_ApplyColorBalance(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return ApplyColorBalance(d, s, m, 51, -76, 25); });
}
BENCHMARK(BM_ApplyColorBalance)->Apply(WholeAndRegion);

void BM_ApplyHueSaturation(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return ApplyHueSaturation(d, s, m, 100, 51, -25); });
}
BENCHMARK(BM_ApplyHueSaturation)->Apply(WholeAndRegion);

void BM_FilterLowPass(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return FilterLowPass(d, s, m); });
}
BENCHMARK(BM_FilterLowPass)->Apply(WholeAndRegion);

void BM_FilterMedian(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return FilterMedian(d, s, m); });
}
BENCHMARK(BM_FilterMedian)->Apply(WholeAndRegion);

void BM_FilterAverage(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return FilterAverage(d, s, m, 4); });
}
BENCHMARK(BM_FilterAverage)->Apply(WholeAndRegion);

void BM_EdgeRoberts(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return EdgeRoberts(d, s, m); });
}
BENCHMARK(BM_EdgeRoberts)->Apply(WholeAndRegion);

void BM_EdgeSobel(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return EdgeSobel(d, s, m); });
}
BENCHMARK(BM_EdgeSobel)->Apply(WholeAndRegion);

void BM_EdgePrewitt(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return EdgePrewitt(d, s, m); });
}
BENCHMARK(BM_EdgePrewitt)->Apply(WholeAndRegion);

void BM_EdgeLaplace(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return EdgeLaplace(d, s, m); });
}
BENCHMARK(BM_EdgeLaplace)->Apply(WholeAndRegion);

void BM_EdgeKirsch(benchmark::State& state) {
    Run(state, [](auto& d, auto& s, auto& m) { return EdgeKirsch(d, s, m); });
}
BENCHMARK(BM_EdgeKirsch)->Apply(WholeAndRegion);

void BM_EdgeDirectional(benchmark::State& state) {
    Run(state,
        [](auto& d, auto& s, auto& m) { return EdgeDirectional(d, s, m, kUpRightEdgeKernel); });
}
BENCHMARK(BM_EdgeDirectional)->Apply(WholeAndRegion);

// The operations that share their rows among the pixel workers, with the
// worker count as the argument (the cases above use the processor count):
// the speed-up of the second worker on the same image. Times are wall-clock;
// the CPU column is the whole process's, so it shows what sharing costs.
template <class Operation> void RunWithWorkers(benchmark::State& state, Operation operation) {
    const DibBlock working = MakeTestImage(kBenchSide, kBenchSide);
    const DibBlock image = MakeTestImage(kBenchSide, kBenchSide);
    const CDibImage noRegion{};
    SetPixelWorkerCount(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!operation(image.dib(), working.dib(), noRegion))
            throw std::runtime_error("operation refused its operands");
        benchmark::ClobberMemory();
    }
    SetPixelWorkerCount(0);
    ReportMegapixels(state, kBenchSide, kBenchSide);
}

void OneAndTwoWorkers(benchmark::internal::Benchmark* b) {
    b->ArgNames({"workers"})
        ->Arg(1)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime();
}

void BM_FilterLowPassWorkers(benchmark::State& state) {
    RunWithWorkers(state, [](auto& d, auto& s, auto& m) { return FilterLowPass(d, s, m); });
}
BENCHMARK(BM_FilterLowPassWorkers)->Apply(OneAndTwoWorkers);

void BM_FilterAverageWorkers(benchmark::State& state) {
    RunWithWorkers(state, [](auto& d, auto& s, auto& m) { return FilterAverage(d, s, m, 4); });
}
BENCHMARK(BM_FilterAverageWorkers)->Apply(OneAndTwoWorkers);

void BM_EdgeSobelWorkers(benchmark::State& state) {
    RunWithWorkers(state, [](auto& d, auto& s, auto& m) { return EdgeSobel(d, s, m); });
}
BENCHMARK(BM_EdgeSobelWorkers)->Apply(OneAndTwoWorkers);

} // namespace
} // namespace halvera::bench
