#include "SyntheticImages.h"

#include <cstring>
#include <stdexcept>

namespace halvera::testing {

DibBlock MakeRgb(int width, int height, const std::function<Bgr(int x, int y)>& colour) {
    DibBlock image;
    if (!CreateRgb(image, width, height))
        throw std::runtime_error("test image could not be created");
    const CDibImage dib = image.dib();
    std::memset(dib.bits, 0xCD, static_cast<size_t>(dib.bitsSize));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dib, x, y, colour(x, y));
    return image;
}

DibBlock MakeUniformRgb(int width, int height, Bgr colour) {
    return MakeRgb(width, height, [colour](int, int) { return colour; });
}

DibBlock MakeGrey(int width, int height, const std::function<uint8_t(int x, int y)>& value) {
    DibBlock plane;
    if (!CreateGrey(plane, width, height))
        throw std::runtime_error("test plane could not be created");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetByte(plane.dib(), x, y, value(x, y));
    return plane;
}

Bgr PixelAt(const CDibImage& image, int x, int y) {
    const uint8_t* p = image.row(y) + 3 * x;
    return Bgr{p[0], p[1], p[2]};
}

void SetPixel(const CDibImage& image, int x, int y, Bgr colour) {
    uint8_t* p = image.row(y) + 3 * x;
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
}

uint8_t ByteAt(const CDibImage& plane, int x, int y) { return plane.row(y)[x]; }

void SetByte(const CDibImage& plane, int x, int y, uint8_t value) { plane.row(y)[x] = value; }

bool SamePixels(const CDibImage& a, const CDibImage& b) {
    if (a.width() != b.width() || a.height != b.height || a.bitCount() != b.bitCount())
        return false;
    const size_t rowBytes = static_cast<size_t>(a.width()) * (a.bitCount() / 8);
    for (int y = 0; y < a.height; ++y)
        if (std::memcmp(a.row(y), b.row(y), rowBytes) != 0)
            return false;
    return true;
}

} // namespace halvera::testing
