#include "BenchImages.h"

#include <cstdint>
#include <stdexcept>

namespace halvera::bench {

DibBlock MakeTestImage(int width, int height) {
    DibBlock image;
    if (!CreateRgb(image, width, height))
        throw std::runtime_error("benchmark image could not be created");
    const CDibImage dib = image.dib();
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = dib.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            noise = noise * 1664525u + 1013904223u;
            const int n = static_cast<int>(noise >> 28);
            p[0] = static_cast<uint8_t>((x * 255 / width + n) & 255);
            p[1] = static_cast<uint8_t>((y * 255 / height + n) & 255);
            p[2] = static_cast<uint8_t>(((x + y) * 255 / (width + height) + n) & 255);
        }
    }
    return image;
}

DibBlock MakeEllipseMask(int width, int height) {
    DibBlock mask;
    if (!CreateGrey(mask, width, height))
        throw std::runtime_error("benchmark mask could not be created");
    const double cx = width / 2.0, cy = height / 2.0;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = mask.dib().row(y);
        for (int x = 0; x < width; ++x) {
            const double dx = (x - cx) / cx, dy = (y - cy) / cy;
            row[x] = dx * dx + dy * dy <= 1.0 ? 255 : 0;
        }
    }
    return mask;
}

void ReportMegapixels(benchmark::State& state, int width, int height) {
    state.counters["MPix/s"] = benchmark::Counter(
        static_cast<double>(width) * height * static_cast<double>(state.iterations()) / 1e6,
        benchmark::Counter::kIsRate);
}

} // namespace halvera::bench
