#pragma once

#include "image/BitmapInfoHeader.h"

#include <cstdint>
#include <memory>

namespace halvera {

// Descriptor of one image block (header, palette for 8-bit planes, bottom-up
// rows padded to 4 bytes). It is a plain value: operations take it by value and
// address pixels from `end`; copies never own or free anything.
//
// Image row y (0 = top) begins at end - (y + 1) * stride. A 24-bit pixel is
// blue, green, red at offset 3x; an 8-bit plane has one byte at offset x.
struct CDibImage {
    uint8_t* end = nullptr;              // one past the last byte of the rows
    int32_t stride = 0;                  // bytes per row, a multiple of 4
    int32_t height = 0;                  // number of rows
    uint8_t* bits = nullptr;             // first byte of the rows (bottom image row)
    int32_t blockSize = 0;               // header + palette + bitsSize
    int32_t bitsSize = 0;                // stride * height
    BitmapInfoHeader* header = nullptr;  // start of the block; null: no image

    bool empty() const { return header == nullptr; }
    int32_t width() const { return header ? header->biWidth : 0; }
    int bitCount() const { return header ? header->biBitCount : 0; }
    // Start of image row y, counted from the top. For row walks, not per pixel.
    uint8_t* row(int32_t y) const { return end - static_cast<ptrdiff_t>(y + 1) * stride; }
};

// Owner of one image block; the document and other long-lived holders keep
// their images in these and hand out descriptors. Moved, never copied.
class DibBlock {
public:
    DibBlock() = default;
    DibBlock(DibBlock&&) noexcept;
    DibBlock& operator=(DibBlock&&) noexcept;
    DibBlock(const DibBlock&) = delete;
    DibBlock& operator=(const DibBlock&) = delete;
    ~DibBlock() = default;

    const CDibImage& dib() const { return dib_; }
    bool empty() const { return dib_.empty(); }
    int32_t width() const { return dib_.width(); }
    int32_t height() const { return dib_.height; }

    // Frees the block; the descriptor then describes no image.
    void release();
    // Takes over a block of `blockSize` bytes: header and palette
    // (`headerAndPalette` bytes), then `height` rows of `stride` bytes. Used by
    // the creators and by undo snapshots.
    void adopt(std::unique_ptr<uint8_t[]> block, int32_t blockSize, int32_t headerAndPalette,
               int32_t stride, int32_t height);

private:
    std::unique_ptr<uint8_t[]> block_;
    CDibImage dib_;
};

// A plane of 32-bit integers, one per pixel, rows top-down, no padding.
struct IntPlane {
    std::unique_ptr<int32_t[]> values;
    int32_t width = 0;
    int32_t height = 0;
    int32_t count = 0;  // width * height
};

// Frees any block `image` holds, then allocates a 24-bit block of width x height
// with a fresh header. Pixels are left uninitialised. False when the memory is
// not there or the size cannot be held; `image` then holds no block.
bool CreateRgb(DibBlock& image, int32_t width, int32_t height);

// The same for an 8-bit plane with a grey palette (entry i = i, i, i); rows are 0.
bool CreateGrey(DibBlock& image, int32_t width, int32_t height);

// Frees the previous values and allocates width x height integers (not initialised).
bool CreateIntPlane(IntPlane& plane, int32_t width, int32_t height);

// Copies the whole block of `source` (header included) over `target` in one
// move. Both must describe blocks of the same size.
void CopyBlock(const CDibImage& target, const CDibImage& source);

} // namespace halvera
