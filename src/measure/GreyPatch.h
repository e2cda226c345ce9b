#pragma once

#include "image/DibImage.h"
#include "image/PixelGeometry.h"

#include <vector>

namespace halvera {

// The grey levels of a rectangle of a picture, as floats, for finding edges
// in it. A 24-bit pixel gives (30 R + 59 G + 11 B) / 100 truncated, the level
// grayscale gives it; an 8-bit plane (its palette is grey) gives its byte.
// Only the rectangle is converted, so a search near a click costs the same on
// any size of picture.
class GreyPatch {
public:
    // The part of `box` (corners included, in any order) that lies inside
    // the picture; empty when none does or the picture is neither 8 nor 24 bits.
    static GreyPatch Of(CDibImage image, PixelRect box);

    bool empty() const { return levels_.empty(); }
    int32_t left() const { return left_; }
    int32_t top() const { return top_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // The level of image pixel (x, y), which must lie in the patch.
    float At(int32_t x, int32_t y) const {
        return levels_[static_cast<size_t>(y - top_) * static_cast<size_t>(width_) +
                       static_cast<size_t>(x - left_)];
    }
    // The row of image row y from column left() on; y must lie in the patch.
    const float* Row(int32_t y) const {
        return levels_.data() + static_cast<size_t>(y - top_) * static_cast<size_t>(width_);
    }

    // Whether bilinear sampling at (x, y) finds its four pixels in the patch:
    // left <= x < right and top <= y < bottom, right and bottom being the
    // last column and row.
    bool CanSample(SubPixelPoint p) const {
        return p.x >= left_ && p.y >= top_ && p.x < left_ + width_ - 1 && p.y < top_ + height_ - 1;
    }

private:
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<float> levels_;
};

} // namespace halvera
