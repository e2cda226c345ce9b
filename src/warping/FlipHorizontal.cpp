#include "warping/FlipHorizontal.h"

#include "warping/MirrorRows.h"
#include "warping/WarpBuffers.h"

#include <algorithm>
#include <cstring>

namespace halvera {

namespace {

// Exchanges two rows through a small buffer on the stack, piece by piece.
void SwapRows(uint8_t* first, uint8_t* second, size_t bytes) {
    constexpr size_t kPiece = 2048;
    uint8_t held[kPiece];
    for (size_t at = 0; at < bytes; at += kPiece) {
        const size_t n = std::min(kPiece, bytes - at);
        std::memcpy(held, first + at, n);
        std::memcpy(first + at, second + at, n);
        std::memcpy(second + at, held, n);
    }
}

// Copies `image` into `working` and reverses the order of its rows (padding
// included), from the outside in one pair of rows at a time: both rows are
// streamed into the working copy past the cache, then swapped in place while
// they are still in the cache, so the image is read once and nothing is read
// back from the working copy.
void CopyAndReverseRows(const CDibImage& image, const CDibImage& working) {
    const auto headerBytes =
        static_cast<size_t>(image.bits - reinterpret_cast<const uint8_t*>(image.header));
    std::memcpy(working.header, image.header, headerBytes);
    const auto rowBytes = static_cast<size_t>(image.stride);
    for (int32_t top = 0, bottom = image.height - 1; top <= bottom; ++top, --bottom) {
        StreamRowCopy(image.row(top), working.row(top), rowBytes);
        if (top == bottom)
            break;
        StreamRowCopy(image.row(bottom), working.row(bottom), rowBytes);
        SwapRows(image.row(top), image.row(bottom), rowBytes);
    }
    FinishStreamedCopies();
}

} // namespace

bool FlipHorizontal(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                    const CDibImage& savedMask) {
    if (!AreWarpImages(image, working) ||
        !AreWarpMasks(mask, savedMask, image.width(), image.height))
        return false;

    CopyAndReverseRows(image, working);
    if (!mask.empty())
        CopyAndReverseRows(mask, savedMask);
    return true;
}

} // namespace halvera
