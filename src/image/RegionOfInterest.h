#pragma once

#include "image/DibImage.h"

#include <cstdint>

namespace halvera {

// True when any mask byte inside the image area (row padding excluded) is
// non-zero. No mask, or a mask of height 0, holds no region.
bool MaskHasRegion(const CDibImage& mask);

// The mask byte of a selected pixel; the selection tools write only this and 0.
constexpr uint8_t kMaskSelected = 255;

// True for the mask byte of a selected pixel, for loops that have already
// established that a region exists.
inline bool IsSelectedByte(uint8_t maskByte) {
    return maskByte == kMaskSelected;
}

// The one rule every image operation follows: with no region every pixel may
// change; with a region only pixels whose mask byte is exactly 255 change, so a
// mask made only of bytes 1..254 is a region that selects nothing.
//
// Build it once per operation (it scans the mask), then walk rows:
//     const uint8_t* m = roi.maskRow(y);
//     ... if (RegionOfInterest::Selected(m, x)) ...
class RegionOfInterest {
public:
    explicit RegionOfInterest(const CDibImage& mask) : mask_(mask), exists_(MaskHasRegion(mask)) {}

    bool exists() const { return exists_; }
    const CDibImage& mask() const { return mask_; }

    // Mask row y (0 = top), or null when there is no region (all selected).
    const uint8_t* maskRow(int32_t y) const { return exists_ ? mask_.row(y) : nullptr; }

    static bool Selected(const uint8_t* maskRow, int32_t x) {
        return maskRow == nullptr || IsSelectedByte(maskRow[x]);
    }

private:
    CDibImage mask_;
    bool exists_;
};

} // namespace halvera
