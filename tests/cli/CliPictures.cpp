#include "CliPictures.h"

#include <algorithm>

namespace halvera::testing {
namespace {

constexpr size_t kPixelOffset = 54;

} // namespace

size_t Stride24(int width) {
    return (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
}

Bytes Bmp24(int width, int height, const PixelPattern& colour) {
    const size_t stride = Stride24(width);
    Bytes rows(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Pixel p = colour(x, y);
            std::copy(p.begin(), p.end(), rows.data() + stride * (height - 1 - y) + 3 * x);
        }
    return ImageFileBytes(PackedDibBytes(PictureHeader(width, height, 24), {}, rows), 0);
}

void WriteBmp24(const std::string& path, int width, int height, const PixelPattern& colour) {
    WriteFileBytes(path, Bmp24(width, height, colour));
}

Pixel PixelOf(const Bytes& file, int width, int height, int x, int y) {
    const uint8_t* p = file.data() + kPixelOffset + Stride24(width) * (height - 1 - y) + 3 * x;
    return {p[0], p[1], p[2]};
}

} // namespace halvera::testing
