#pragma once

#include <cstdint>

namespace halvera {

// The 40-byte header that starts every image block, laid out exactly as in a
// BMP file and in a packed device-independent bitmap (little-endian).
struct BitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "the header must keep its file layout");

// One palette entry: blue, green, red, reserved.
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
};
static_assert(sizeof(RgbQuad) == 4);

constexpr int kHeaderSize = 40;
constexpr int kGreyPaletteEntries = 256;
constexpr int kGreyPaletteSize = kGreyPaletteEntries * 4;
// Files and pictures wider or higher than this are refused.
constexpr int kMaxDibSide = 30000;

// Bytes per row of `width` pixels of `bitCount` bits, padded to a multiple of 4.
// Computed in 64 bits so that no header value can overflow it.
constexpr int64_t DibStride(int64_t width, int bitCount) {
    return ((width * bitCount + 31) / 32) * 4;
}

} // namespace halvera
