#include "ProcessingTestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace halvera::testing {

DibBlock CopyOf(const CDibImage& image) {
    DibBlock copy;
    const bool created = image.bitCount() == 8 ? CreateGrey(copy, image.width(), image.height)
                                               : CreateRgb(copy, image.width(), image.height);
    if (!created)
        throw std::runtime_error("test copy could not be created");
    CopyBlock(copy.dib(), image);
    return copy;
}

DibBlock RunOn(const ImageOperation& operation, const CDibImage& source, const CDibImage& mask) {
    DibBlock destination = CopyOf(source);
    EXPECT_TRUE(operation(destination.dib(), source, mask));
    return destination;
}

DibBlock SinglePixel(int width, int height, int x, int y, uint8_t level) {
    return MakeRgb(width, height,
                   [=](int px, int py) { return px == x && py == y ? Grey(level) : Grey(0); });
}

DibBlock MaskWhere(int width, int height, const std::function<bool(int x, int y)>& selected) {
    return MakeGrey(width, height, [&](int x, int y) { return uint8_t(selected(x, y) ? 255 : 0); });
}

} // namespace halvera::testing
