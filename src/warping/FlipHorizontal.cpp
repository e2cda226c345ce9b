#include "warping/FlipHorizontal.h"

#include "warping/MirrorRows.h"
#include "warping/WarpBuffers.h"

#include <cstring>

namespace halvera {

namespace {

// Copies `image` into `working` and reverses the order of its rows (padding
// included), from the outside in one pair of rows at a time: each pair is
// read once, streamed into the working copy past the cache and exchanged in
// the same pass, so nothing is read back from the working copy.
void CopyAndReverseRows(const CDibImage& image, const CDibImage& working) {
    const auto headerBytes =
        static_cast<size_t>(image.bits - reinterpret_cast<const uint8_t*>(image.header));
    std::memcpy(working.header, image.header, headerBytes);
    const auto rowBytes = static_cast<size_t>(image.stride);
    int32_t top = 0, bottom = image.height - 1;
    for (; top < bottom; ++top, --bottom)
        ExchangeRowsKeepingCopies(image.row(top), image.row(bottom), working.row(top),
                                  working.row(bottom), rowBytes);
    if (top == bottom)
        StreamRowCopy(image.row(top), working.row(top), rowBytes);
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
