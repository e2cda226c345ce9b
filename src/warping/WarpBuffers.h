#pragma once

#include "image/DibImage.h"

#include <cstdint>
#include <memory>

namespace halvera {

// True when `image` and `working` are distinct 24-bit blocks of the same size.
bool AreWarpImages(const CDibImage& image, const CDibImage& working);

// True when `plane` is empty or an 8-bit plane of width x height.
bool IsPlaneOfSizeOrEmpty(const CDibImage& plane, int32_t width, int32_t height);

// True when `mask` and `savedMask` are both 8-bit planes of width x height in
// distinct blocks, or both empty (a document without a region).
bool AreWarpMasks(const CDibImage& mask, const CDibImage& savedMask, int32_t width, int32_t height);

// The start of every row of an image, top row first, so that a warp reaching
// an arbitrary source row looks its address up instead of multiplying.
class RowTable {
public:
    // False when the table cannot be allocated; an empty image gives an empty table.
    bool Build(const CDibImage& image);
    uint8_t* operator[](int32_t y) const { return rows_[y]; }
    // The table itself, for loops that keep it in a local: stores through
    // byte pointers could otherwise force the compiler to reload it.
    uint8_t* const* rows() const { return rows_.get(); }

private:
    std::unique_ptr<uint8_t*[]> rows_;
};

} // namespace halvera
