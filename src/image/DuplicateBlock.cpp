#include "image/DuplicateBlock.h"

#include "image/RowBands.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace halvera {

namespace {

// Large enough that starting the workers is paid back, small enough that a
// worker the system holds back leaves most of the copy to the others.
constexpr int64_t kSliceBytes = int64_t{4} << 20;

} // namespace

bool DuplicateBlock(DibBlock& copy, const CDibImage& source) {
    copy.release();
    if (!source.header || source.blockSize <= 0)
        return false;
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[source.blockSize]);
    if (!block)
        return false;
    const auto* from = reinterpret_cast<const uint8_t*>(source.header);
    uint8_t* to = block.get();
    const int64_t size = source.blockSize;
    ForEachRowBand((size + kSliceBytes - 1) / kSliceBytes, [&](int64_t slice) {
        const int64_t begin = slice * kSliceBytes;
        const int64_t end = std::min(size, begin + kSliceBytes);
        std::memcpy(to + begin, from + begin, static_cast<size_t>(end - begin));
    });
    const auto headerAndPalette = static_cast<int32_t>(source.bits - from);
    copy.adopt(std::move(block), source.blockSize, headerAndPalette, source.stride, source.height);
    return true;
}

} // namespace halvera
