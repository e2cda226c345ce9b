#include "measure/GreyPatch.h"

#include "processing/LuminanceRows.h"

#include <algorithm>

namespace halvera {

GreyPatch GreyPatch::Of(CDibImage image, PixelRect box) {
    GreyPatch patch;
    const int bits = image.bitCount();
    if (image.empty() || (bits != 8 && bits != 24))
        return patch;
    const PixelRect wanted = box.normalized();
    const int32_t left = std::max(wanted.left, 0);
    const int32_t top = std::max(wanted.top, 0);
    const int32_t right = std::min(wanted.right, image.width() - 1);
    const int32_t bottom = std::min(wanted.bottom, image.height - 1);
    if (left > right || top > bottom)
        return patch;
    patch.left_ = left;
    patch.top_ = top;
    patch.width_ = right - left + 1;
    patch.height_ = bottom - top + 1;
    patch.levels_.resize(static_cast<size_t>(patch.width_) * static_cast<size_t>(patch.height_));
    std::vector<uint8_t> grey(static_cast<size_t>(patch.width_));
    for (int32_t y = top; y <= bottom; ++y) {
        const uint8_t* pixels = image.row(y) + static_cast<ptrdiff_t>(left) * (bits / 8);
        if (bits == 24) {
            LuminanceRow(pixels, grey.data(), patch.width_);
            pixels = grey.data();
        }
        float* target = patch.levels_.data() + static_cast<size_t>(y - top) * grey.size();
        std::copy(pixels, pixels + patch.width_, target);
    }
    return patch;
}

} // namespace halvera
