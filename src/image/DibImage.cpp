#include "image/DibImage.h"

#include <cstring>
#include <limits>
#include <new>

namespace halvera {

namespace {

constexpr int64_t kMaxBlockSize = std::numeric_limits<int32_t>::max();

// Allocates and fills a fresh block for `bitCount` bits per pixel; a palette of
// `paletteEntries` grey entries follows the header. Rows are zeroed on request.
bool CreateBlock(DibBlock& image, int32_t width, int32_t height, int bitCount,
                 int paletteEntries, bool clearRows) {
    image.release();
    if (width <= 0 || height <= 0)
        return false;
    const int64_t stride = DibStride(width, bitCount);
    const int64_t headerAndPalette = kHeaderSize + int64_t{paletteEntries} * 4;
    const int64_t blockSize = headerAndPalette + stride * height;
    if (blockSize > kMaxBlockSize)
        return false;

    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[blockSize]);
    if (!block)
        return false;
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<uint16_t>(bitCount);
    std::memcpy(block.get(), &header, sizeof header);
    auto* palette = reinterpret_cast<RgbQuad*>(block.get() + kHeaderSize);
    for (int i = 0; i < paletteEntries; ++i) {
        const auto level = static_cast<uint8_t>(i);
        palette[i] = RgbQuad{level, level, level, 0};
    }
    if (clearRows)
        std::memset(block.get() + headerAndPalette, 0, static_cast<size_t>(stride * height));
    image.adopt(std::move(block), static_cast<int32_t>(blockSize),
                static_cast<int32_t>(headerAndPalette), static_cast<int32_t>(stride), height);
    return true;
}

} // namespace

DibBlock::DibBlock(DibBlock&& other) noexcept
    : block_(std::move(other.block_)), dib_(other.dib_) {
    other.dib_ = CDibImage{};
}

DibBlock& DibBlock::operator=(DibBlock&& other) noexcept {
    if (this != &other) {
        block_ = std::move(other.block_);
        dib_ = other.dib_;
        other.dib_ = CDibImage{};
    }
    return *this;
}

void DibBlock::release() {
    block_.reset();
    dib_ = CDibImage{};
}

void DibBlock::adopt(std::unique_ptr<uint8_t[]> block, int32_t blockSize,
                     int32_t headerAndPalette, int32_t stride, int32_t height) {
    block_ = std::move(block);
    uint8_t* start = block_.get();
    dib_.header = reinterpret_cast<BitmapInfoHeader*>(start);
    dib_.bits = start + headerAndPalette;
    dib_.stride = stride;
    dib_.height = height;
    dib_.bitsSize = stride * height;
    dib_.blockSize = blockSize;
    dib_.end = dib_.bits + dib_.bitsSize;
}

bool CreateRgb(DibBlock& image, int32_t width, int32_t height) {
    return CreateBlock(image, width, height, 24, 0, false);
}

bool CreateGrey(DibBlock& image, int32_t width, int32_t height) {
    return CreateBlock(image, width, height, 8, kGreyPaletteEntries, true);
}

bool CreateIntPlane(IntPlane& plane, int32_t width, int32_t height) {
    plane = IntPlane{};
    if (width <= 0 || height <= 0)
        return false;
    const int64_t count = int64_t{width} * height;
    if (count > std::numeric_limits<int32_t>::max())
        return false;
    plane.values.reset(new (std::nothrow) int32_t[count]);
    if (!plane.values)
        return false;
    plane.width = width;
    plane.height = height;
    plane.count = static_cast<int32_t>(count);
    return true;
}

void CopyBlock(const CDibImage& target, const CDibImage& source) {
    if (target.header && source.header && target.blockSize == source.blockSize)
        std::memmove(target.header, source.header, static_cast<size_t>(source.blockSize));
}

} // namespace halvera
