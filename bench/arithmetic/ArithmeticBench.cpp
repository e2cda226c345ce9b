#include "BenchImages.h"
#include "processing/ApplyReference.h"
#include "processing/ImageArithmetic.h"
#include "processing/ShadeCorrectMorphological.h"
#include "processing/ShadeCorrectPolynomial.h"

#include <algorithm>

namespace halvera::bench {
namespace {

// A second operand: the test image's rows in reverse order.
DibBlock MakeSecondImage() {
    DibBlock first = MakeTestImage();
    DibBlock second = MakeTestImage();
    for (int y = 0; y < kBenchSide; ++y)
        std::copy(first.dib().row(y), first.dib().row(y) + 3 * kBenchSide,
                  second.dib().row(kBenchSide - 1 - y));
    return second;
}

void RunArithmetic(benchmark::State& state, ArithmeticOperation operation, bool limited) {
    const DibBlock working = MakeTestImage();
    const DibBlock input = MakeSecondImage();
    DibBlock image = MakeTestImage();
    const DibBlock mask = MakeEllipseMask();
    ArithmeticSettings settings;
    settings.operation = operation;
    settings.transparency = 50;
    settings.limitToRegion = limited;
    for (auto _ : state) {
        const bool done =
            ImageArithmetic(image.dib(), working.dib(), mask.dib(), input.dib(), settings);
        benchmark::DoNotOptimize(done);
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}

void BM_ImageArithmetic_Add(benchmark::State& state) {
    RunArithmetic(state, ArithmeticOperation::Add, false);
}
void BM_ImageArithmetic_AddInRegion(benchmark::State& state) {
    RunArithmetic(state, ArithmeticOperation::Add, true);
}
void BM_ImageArithmetic_Multiply(benchmark::State& state) {
    RunArithmetic(state, ArithmeticOperation::Multiply, false);
}
void BM_ImageArithmetic_Divide(benchmark::State& state) {
    RunArithmetic(state, ArithmeticOperation::Divide, false);
}
void BM_ImageArithmetic_Xor(benchmark::State& state) {
    RunArithmetic(state, ArithmeticOperation::Xor, false);
}
void BM_ImageArithmetic_FeatureAnd(benchmark::State& state) {
    RunArithmetic(state, ArithmeticOperation::FeatureAnd, false);
}
BENCHMARK(BM_ImageArithmetic_Add)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageArithmetic_AddInRegion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageArithmetic_Multiply)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageArithmetic_Divide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageArithmetic_Xor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageArithmetic_FeatureAnd)->Unit(benchmark::kMillisecond);

// The corrections work in place: every run starts again from the test image,
// restored outside the timed part.
template <class Correct> void RunInPlace(benchmark::State& state, Correct correct) {
    const DibBlock original = MakeTestImage();
    DibBlock image = MakeTestImage();
    for (auto _ : state) {
        state.PauseTiming();
        CopyBlock(image.dib(), original.dib());
        state.ResumeTiming();
        correct(image.dib());
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}

void BM_ShadeCorrectMorphological7(benchmark::State& state) {
    RunInPlace(state, [](const CDibImage& image) {
        benchmark::DoNotOptimize(
            ShadeCorrectMorphological(image, kShadeElement7, kShadeSmoothing7));
    });
}
void BM_ShadeCorrectMorphological9(benchmark::State& state) {
    RunInPlace(state, [](const CDibImage& image) {
        benchmark::DoNotOptimize(
            ShadeCorrectMorphological(image, kShadeElement9, kShadeSmoothing9));
    });
}
void BM_ShadeCorrectPolynomial(benchmark::State& state) {
    RunInPlace(state, [](const CDibImage& image) {
        benchmark::DoNotOptimize(ShadeCorrectPolynomial(image));
    });
}
BENCHMARK(BM_ShadeCorrectMorphological7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShadeCorrectMorphological9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShadeCorrectPolynomial)->Unit(benchmark::kMillisecond);

void BM_ApplyReference(benchmark::State& state) {
    const DibBlock working = MakeTestImage();
    const DibBlock reference = MakeSecondImage();
    DibBlock image = MakeTestImage();
    for (auto _ : state) {
        const bool done =
            ApplyReference(image.dib(), working.dib(), reference.dib(), {}, 128, false);
        benchmark::DoNotOptimize(done);
        benchmark::ClobberMemory();
    }
    ReportMegapixels(state, kBenchSide, kBenchSide);
}
BENCHMARK(BM_ApplyReference)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvera::bench
