#include "PaintTestSupport.h"

namespace halvera::testing {

std::string PaintArt(const CDibImage& image, Bgr painted) {
    return PaintArt(image, painted, 0, 0, image.width(), image.height);
}

std::string PaintArt(const CDibImage& image, Bgr painted, int left, int top, int width,
                     int height) {
    std::string art;
    for (int y = top; y < top + height; ++y) {
        if (y > top)
            art += '\n';
        for (int x = left; x < left + width; ++x) {
            const Bgr p = PixelAt(image, x, y);
            art += p == painted ? '#' : (p == kWhite ? '.' : '?');
        }
    }
    return art;
}

} // namespace halvera::testing
