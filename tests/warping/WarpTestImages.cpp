#include "WarpTestImages.h"

#include <cmath>
#include <numbers>

namespace halvera::testing {

WarpBuffersFixture::WarpBuffersFixture(int width, int height,
                                       const std::function<Bgr(int x, int y)>& colour)
    : image(MakeUniformRgb(width, height, kMarker)), working(MakeRgb(width, height, colour)),
      mask(MakeGrey(width, height, [](int, int) { return uint8_t{0}; })),
      savedMask(MakeGrey(width, height, [](int, int) { return uint8_t{0}; })) {}

void WarpBuffersFixture::Select(const std::function<bool(int x, int y)>& selected) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const uint8_t value = selected(x, y) ? 255 : 0;
            SetByte(mask.dib(), x, y, value);
            SetByte(savedMask.dib(), x, y, value);
        }
}

void WarpBuffersFixture::Restore() {
    CopyBlock(image.dib(), working.dib());
}

Bgr Pattern(int x, int y) {
    return Bgr{static_cast<uint8_t>(x * 7 + 11), static_cast<uint8_t>(y * 5 + 13),
               static_cast<uint8_t>((x * 3 + y * 11) % 256)};
}

QuadCorners RotatedCorners(const QuadCorners& corners, double centreX, double centreY,
                           double degrees) {
    const double angle = degrees * std::numbers::pi / 180.0;
    QuadCorners rotated{};
    for (size_t k = 0; k < corners.size(); ++k) {
        const double dx = corners[k].x - centreX;
        const double dy = corners[k].y - centreY;
        rotated[k] =
            PixelPoint{static_cast<int32_t>(centreX + dx * std::cos(angle) + dy * std::sin(angle)),
                       static_cast<int32_t>(centreY - dx * std::sin(angle) + dy * std::cos(angle))};
    }
    return rotated;
}

} // namespace halvera::testing
