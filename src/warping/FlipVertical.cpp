#include "warping/FlipVertical.h"

#include "warping/MirrorRows.h"
#include "warping/WarpBuffers.h"

#include <cstring>

namespace halvera {

namespace {

// Copies `image` into `working` and mirrors it left to right, one row at a
// time: the row is streamed into the working copy past the cache and then
// mirrored in place while it is still in the cache, so the image is read once
// and nothing is read back from the working copy.
template <class MirrorRow>
void CopyAndMirror(const CDibImage& image, const CDibImage& working, const MirrorRow& mirrorRow) {
    const auto headerBytes =
        static_cast<size_t>(image.bits - reinterpret_cast<const uint8_t*>(image.header));
    std::memcpy(working.header, image.header, headerBytes);
    const auto rowBytes = static_cast<size_t>(image.stride);
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    for (int32_t y = image.height - 1; y >= 0; --y) {
        uint8_t* row = image.row(y);
        StreamRowCopy(row, working.row(y), rowBytes);
        mirrorRow(row, image.width());
    }
    FinishStreamedCopies();
}

} // namespace

bool FlipVertical(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                  const CDibImage& savedMask) {
    if (!AreWarpImages(image, working) ||
        !AreWarpMasks(mask, savedMask, image.width(), image.height))
        return false;

    CopyAndMirror(image, working, MirrorRgbRow);
    if (!mask.empty())
        CopyAndMirror(mask, savedMask, MirrorByteRow);
    return true;
}

} // namespace halvera
