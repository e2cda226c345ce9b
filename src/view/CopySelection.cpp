#include "view/CopySelection.h"

#include "view/RegionOfInterest.h"
#include "view/SelectionBounds.h"

#include <cstring>

namespace halvera {

namespace {

PackedDib CopyWholeImage(const CDibImage& image) {
    PackedDib picture = PackedDib::Allocate(static_cast<size_t>(image.blockSize));
    if (picture)
        std::memcpy(picture.data(), image.header, static_cast<size_t>(image.blockSize));
    return picture;
}

// A white 24-bit packed DIB of width x height and a descriptor of its rows.
PackedDib AllocateWhite(int32_t width, int32_t height, CDibImage& rows) {
    const auto stride = static_cast<int32_t>(DibStride(width, 24));
    const int32_t bitsSize = stride * height;
    PackedDib picture = PackedDib::Allocate(static_cast<size_t>(kHeaderSize) + bitsSize);
    if (!picture)
        return picture;
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = 24;
    std::memcpy(picture.data(), &header, sizeof header);
    rows.header = picture.header();
    rows.bits = picture.data() + kHeaderSize;
    rows.stride = stride;
    rows.height = height;
    rows.bitsSize = bitsSize;
    rows.blockSize = kHeaderSize + bitsSize;
    rows.end = rows.bits + bitsSize;
    std::memset(rows.bits, 255, static_cast<size_t>(bitsSize));
    return picture;
}

} // namespace

PackedDib CopySelection(const CDibImage& image, const CDibImage& mask) {
    if (image.empty())
        return {};
    if (!MaskHasRegion(mask))
        return CopyWholeImage(image);
    if (mask.width() != image.width() || mask.height != image.height)
        return {};

    const PixelRect bounds = SelectionBounds(mask);
    CDibImage target;
    PackedDib picture = AllocateWhite(bounds.width(), bounds.height(), target);
    if (!picture)
        return picture;
    for (int32_t y = 0; y < target.height; ++y) {
        const uint8_t* m = mask.row(bounds.top + y) + bounds.left;
        const uint8_t* from = image.row(bounds.top + y) + 3 * bounds.left;
        uint8_t* to = target.row(y);
        for (int32_t x = 0; x < target.width(); ++x, from += 3, to += 3) {
            if (m[x] == 255) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
        }
    }
    return picture;
}

} // namespace halvera
