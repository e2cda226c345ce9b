#pragma once

#include "processing/Neighbourhood3x3.h"

#include <array>
#include <cstdint>

namespace halvera {

// Nine signed weights in row order NW, N, NE, W, C, E, SW, S, SE.
struct Kernel3x3 {
    std::array<int32_t, 9> weights{};
};

// The kernel routines accept weights of -255..255, which keeps every sum and
// the tables built from them small.
constexpr int32_t kMaxKernelWeight = 255;

inline bool IsKernelInRange(const Kernel3x3& kernel) {
    for (const int32_t w : kernel.weights)
        if (w < -kMaxKernelWeight || w > kMaxKernelWeight)
            return false;
    return true;
}

// The sum of weight times value over the window.
inline int32_t Weigh(const std::array<int32_t, 9>& k, const Window3x3& p) {
    return k[0] * p.nw + k[1] * p.n + k[2] * p.ne + k[3] * p.w + k[4] * p.c + k[5] * p.e +
           k[6] * p.sw + k[7] * p.s + k[8] * p.se;
}

} // namespace halvera
