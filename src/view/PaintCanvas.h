#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "image/RegionOfInterest.h"
#include "platform/ColourRef.h"

#include <cstdint>

namespace halvera {

// Where the annotation operations paint: a 24-bit image, the region of
// interest (only pixels whose mask byte is 255 change when a region exists)
// and one colour written blue, green, red. Every write is clipped to the
// image. Build it once per operation: it scans the mask for a region.
class PaintCanvas {
public:
    PaintCanvas(const CDibImage& image, const CDibImage& mask, ColourRef colour)
        : PaintCanvas(image, RegionOfInterest(mask), colour) {}
    PaintCanvas(const CDibImage& image, const RegionOfInterest& roi, ColourRef colour)
        : image_(image), roi_(roi), width_(image.width()),
          height_(image.empty() ? 0 : image.height), blue_(BlueOf(colour)), green_(GreenOf(colour)),
          red_(RedOf(colour)) {}

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    const RegionOfInterest& roi() const { return roi_; }

    // Row y from column left to right inclusive, clipped to the image.
    void span(int32_t y, int32_t left, int32_t right) const {
        if (y < 0 || y >= height_)
            return;
        if (left < 0)
            left = 0;
        if (right >= width_)
            right = width_ - 1;
        if (left > right)
            return;
        uint8_t* p = image_.row(y) + 3 * static_cast<ptrdiff_t>(left);
        uint8_t* const stop = p + 3 * static_cast<ptrdiff_t>(right - left + 1);
        const uint8_t* m = roi_.maskRow(y);
        if (m == nullptr) {
            for (; p != stop; p += 3) {
                p[0] = blue_;
                p[1] = green_;
                p[2] = red_;
            }
            return;
        }
        for (m += left; p != stop; p += 3, ++m) {
            if (IsSelectedByte(*m)) {
                p[0] = blue_;
                p[1] = green_;
                p[2] = red_;
            }
        }
    }

    void pixel(int32_t x, int32_t y) const { span(y, x, x); }

private:
    CDibImage image_;
    RegionOfInterest roi_;
    int32_t width_;
    int32_t height_;
    uint8_t blue_;
    uint8_t green_;
    uint8_t red_;
};

} // namespace halvera
