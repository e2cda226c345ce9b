#pragma once

#include <array>
#include <cstdint>

namespace halvera {

// The grey level of a pixel, (30 R + 59 G + 11 B) / 100 truncated, through
// three tables of products built once per run instead of three
// multiplications per pixel.
struct LuminanceTables {
    std::array<int32_t, 256> red{};
    std::array<int32_t, 256> green{};
    std::array<int32_t, 256> blue{};

    LuminanceTables() {
        for (int32_t v = 0; v < 256; ++v) {
            red[v] = 30 * v;
            green[v] = 59 * v;
            blue[v] = 11 * v;
        }
    }

    // `pixel` points at blue, green, red. The sum is never negative, so the
    // division rounds down; the result is 0..255.
    int32_t operator()(const uint8_t* pixel) const {
        return (blue[pixel[0]] + green[pixel[1]] + red[pixel[2]]) / 100;
    }
};

} // namespace halvera
