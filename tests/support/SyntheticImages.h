#pragma once

#include "image/DibImage.h"

#include <cstdint>
#include <functional>

namespace halvera::testing {

struct Bgr {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    bool operator==(const Bgr&) const = default;
};

inline constexpr Bgr kWhite{255, 255, 255};
inline constexpr Bgr kBlack{0, 0, 0};

// A 24-bit image whose pixel (x, y), y = 0 at the top, is colour(x, y).
// Row padding is filled with 0xCD so tests notice code that reads it as pixels.
DibBlock MakeRgb(int width, int height, const std::function<Bgr(int x, int y)>& colour);
DibBlock MakeUniformRgb(int width, int height, Bgr colour);
// An 8-bit grey plane whose byte (x, y) is value(x, y).
DibBlock MakeGrey(int width, int height, const std::function<uint8_t(int x, int y)>& value);

Bgr PixelAt(const CDibImage& image, int x, int y);
void SetPixel(const CDibImage& image, int x, int y, Bgr colour);
uint8_t ByteAt(const CDibImage& plane, int x, int y);
void SetByte(const CDibImage& plane, int x, int y, uint8_t value);

// True when both images have the same size and every pixel (padding excluded) is equal.
bool SamePixels(const CDibImage& a, const CDibImage& b);

} // namespace halvera::testing
