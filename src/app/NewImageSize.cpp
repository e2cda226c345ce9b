#include "app/NewImageSize.h"

#include <algorithm>
#include <cstdint>

namespace halvera {

namespace {

constexpr int kMinSide = 8;

int ClampSide(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, kMinSide, kNewImageSizeEditMax));
}

} // namespace

ImageSize NewImageSizeFromDialog(int width, int height) {
    // In 64 bits so that rounding the largest int up cannot overflow; a negative
    // width rounds towards zero and is then raised to 8.
    const int64_t roundedWidth = (int64_t{width} + 3) / 4 * 4;
    return ImageSize{ClampSide(roundedWidth), ClampSide(height)};
}

bool NewImageSizeAccepted(const ImageSize& size) {
    return size.width >= 0 && size.width <= kNewImageSizeAcceptedMax && size.height >= 0 &&
           size.height <= kNewImageSizeAcceptedMax;
}

} // namespace halvera
