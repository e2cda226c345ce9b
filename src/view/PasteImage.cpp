#include "view/PasteImage.h"

#include "image/ConvertPackedDib.h"
#include "image/RegionOfInterest.h"
#include "image/SelectionBounds.h"

#include <algorithm>
#include <cstring>

namespace halvera {

bool LoadPasteImage(const PackedDib& picture, DibBlock& paste) {
    paste.release();
    if (!picture || picture.size() < sizeof(BitmapInfoHeader))
        return false;
    const BitmapInfoHeader& header = *picture.header();
    const int depth = PackedDibDepth(header);
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24)
        return false;
    if (!CreateRgb(paste, header.biWidth, header.biHeight))
        return false;
    if (!ConvertPackedDib(picture, paste.dib())) {
        paste.release();
        return false;
    }
    return true;
}

PixelPoint PastePosition(const CDibImage& mask) {
    if (!MaskHasRegion(mask))
        return {0, 0};
    const PixelRect bounds = SelectionBounds(mask);
    return {bounds.left, bounds.top};
}

void PasteImage(const CDibImage& image, const CDibImage& paste, const CDibImage& mask,
                PixelPoint at) {
    if (image.empty() || paste.empty())
        return;
    const RegionOfInterest roi(mask);
    if (roi.exists() && (mask.width() != image.width() || mask.height != image.height))
        return;
    // Columns of the paste image that land inside the image, in 64 bits so
    // that a position dragged far away cannot overflow.
    const int64_t firstColumn = std::max<int64_t>(0, -int64_t{at.x});
    const int64_t endColumn = std::min<int64_t>(paste.width(), int64_t{image.width()} - at.x);
    const int64_t firstRow = std::max<int64_t>(0, -int64_t{at.y});
    const int64_t endRow = std::min<int64_t>(paste.height, int64_t{image.height} - at.y);
    if (firstColumn >= endColumn || firstRow >= endRow)
        return;

    const auto count = static_cast<int32_t>(endColumn - firstColumn);
    const auto targetX = static_cast<int32_t>(at.x + firstColumn);
    for (auto i = static_cast<int32_t>(firstRow); i < endRow; ++i) {
        const int32_t y = at.y + i;
        const uint8_t* from = paste.row(i) + 3 * firstColumn;
        uint8_t* to = image.row(y) + 3 * static_cast<ptrdiff_t>(targetX);
        const uint8_t* m = roi.maskRow(y);
        if (m == nullptr) {
            std::memcpy(to, from, static_cast<size_t>(count) * 3);
            continue;
        }
        m += targetX;
        for (int32_t x = 0; x < count; ++x, from += 3, to += 3) {
            if (IsSelectedByte(m[x])) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
    }
}

} // namespace halvera
