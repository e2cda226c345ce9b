#pragma once

#include "image/DibImage.h"
#include "processing/Neighbourhood3x3.h"

#include <array>
#include <cstdint>

namespace halvera {

// How the gradient filters (Roberts, Sobel, Prewitt) combine their two
// differences a and b into one level.
enum class EdgeNorm {
    SumOfAbsolutes = 1, // min(|a| + |b|, 255): what the menu commands use
    RootOfSquares = 2,  // min(sqrt(a^2 + b^2) rounded down, 255)
};

inline bool IsEdgeNorm(EdgeNorm norm) {
    return norm == EdgeNorm::SumOfAbsolutes || norm == EdgeNorm::RootOfSquares;
}

// Two differences of one channel's neighbourhood.
struct Gradient {
    int32_t a;
    int32_t b;
};

// floor(sqrt(s)) for s in 0..255*255-1; larger sums give 255 anyway.
constexpr int32_t kRootTableSize = 255 * 255;
const std::array<uint8_t, kRootTableSize>& SquareRootTable();

// Runs `gradient(const Window3x3&) -> Gradient` over the image (replicate
// border, selected pixels only) and writes the norm of each channel's two
// differences. The caller has checked the operands and the norm.
template <class GradientFunction>
void FilterGradients(const CDibImage& destination, const CDibImage& source,
                     const RegionOfInterest& region, EdgeNorm norm,
                     const GradientFunction& gradient) {
    if (norm == EdgeNorm::SumOfAbsolutes) {
        FilterChannels3x3(destination, source, region, [&gradient](const Window3x3& p) {
            const Gradient g = gradient(p);
            const int32_t sum = (g.a < 0 ? -g.a : g.a) + (g.b < 0 ? -g.b : g.b);
            return static_cast<uint8_t>(sum < 255 ? sum : 255);
        });
    } else {
        const uint8_t* root = SquareRootTable().data();
        FilterChannels3x3(destination, source, region, [&gradient, root](const Window3x3& p) {
            const Gradient g = gradient(p);
            const int32_t squares = g.a * g.a + g.b * g.b;
            return squares < kRootTableSize ? root[squares] : uint8_t{255};
        });
    }
}

} // namespace halvera
