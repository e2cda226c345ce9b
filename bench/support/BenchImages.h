#pragma once

#include "image/DibImage.h"

#include <benchmark/benchmark.h>

namespace halvera::bench {

// The side of the square images the benchmarks work on.
constexpr int kBenchSide = 4096;

// A 24-bit image with a smooth gradient and fine noise, so that operations see
// realistic, non-uniform pixels. Deterministic.
DibBlock MakeTestImage(int width = kBenchSide, int height = kBenchSide);
// An 8-bit plane selecting an ellipse inscribed in the image.
DibBlock MakeEllipseMask(int width = kBenchSide, int height = kBenchSide);

// Reports the throughput of `state` in megapixels per second.
void ReportMegapixels(benchmark::State& state, int width, int height);

} // namespace halvera::bench
