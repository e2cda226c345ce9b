#include "view/TextStamp.h"

#include <algorithm>

namespace halvera {

TextBitmap TextBitmap::ForBox(const TextSettings& text) {
    TextBitmap bitmap;
    bitmap.left = text.left;
    bitmap.top = text.top;
    bitmap.width = std::max(text.right - text.left + kTextOverhang, 0);
    bitmap.height = std::max(text.bottom - text.top, 0);
    bitmap.white.assign(static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height), 0);
    return bitmap;
}

void StampTextBitmap(const CDibImage& image, const TextBitmap& bitmap, ColourRef colour) {
    if (image.empty())
        return;
    const int32_t firstX = std::max(bitmap.left, 0);
    const int32_t lastX = std::min(bitmap.left + bitmap.width, image.width()) - 1;
    const int32_t firstY = std::max(bitmap.top, 0);
    const int32_t lastY = std::min(bitmap.top + bitmap.height, image.height) - 1;
    const uint8_t blue = BlueOf(colour);
    const uint8_t green = GreenOf(colour);
    const uint8_t red = RedOf(colour);
    for (int32_t y = firstY; y <= lastY; ++y) {
        const uint8_t* source = bitmap.white.data() +
                                static_cast<size_t>(y - bitmap.top) * bitmap.width +
                                (firstX - bitmap.left);
        uint8_t* p = image.row(y) + 3 * static_cast<ptrdiff_t>(firstX);
        for (int32_t x = firstX; x <= lastX; ++x, ++source, p += 3) {
            if (*source) {
                p[0] = blue;
                p[1] = green;
                p[2] = red;
            }
        }
    }
}

} // namespace halvera
