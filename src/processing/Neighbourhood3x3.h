#pragma once

#include "image/DibImage.h"
#include "image/RegionOfInterest.h"
#include "image/WorkerRowBands.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace halvera {

// The nine values of one channel in the 3x3 neighbourhood of a pixel, named by
// compass direction (north is the row above on screen).
struct Window3x3 {
    int32_t nw, n, ne;
    int32_t w, c, e;
    int32_t sw, s, se;
};

// The source rows above, at and below row y. Outside the image the nearest
// row stands in (replicate border).
struct SourceRows {
    const uint8_t* north;
    const uint8_t* centre;
    const uint8_t* south;
};

inline SourceRows RowsAround(const CDibImage& source, int32_t y) {
    return {source.row(std::max(y - 1, 0)), source.row(y),
            source.row(std::min(y + 1, source.height - 1))};
}

// The window around channel byte `n[0]`/`c[0]`/`s[0]` of the north, centre and
// south rows; `west` and `east` are the byte offsets of the side neighbours:
// -3 and +3 inside the row, 0 at the left and right edge (replicate border).
inline Window3x3 WindowAt(const uint8_t* n, const uint8_t* c, const uint8_t* s, int32_t west,
                          int32_t east) {
    return {n[west], n[0], n[east], c[west], c[0], c[east], s[west], s[0], s[east]};
}

// Copies the pixels of a computed row that the mask row selects.
inline void CopySelectedPixels(uint8_t* out, const uint8_t* computed, const uint8_t* mask,
                               int32_t width) {
    for (int32_t x = 0; x < width; ++x, out += 3, computed += 3) {
        if (RegionOfInterest::Selected(mask, x)) {
            out[0] = computed[0];
            out[1] = computed[1];
            out[2] = computed[2];
        }
    }
}

// One row of channel bytes through `filter`, whose results go to `out` (one
// per channel byte). The first and last pixel are
// done apart so that the interior loop sees constant offsets and no branch,
// which lets the compiler vectorise it.
template <class Output, class ChannelFilter>
void FilterChannelRow(const SourceRows& rows, Output* __restrict out, int32_t width,
                      const ChannelFilter& filter) {
    // Local restrict pointers: the rows are not reloaded after every store.
    const uint8_t* __restrict n = rows.north;
    const uint8_t* __restrict c = rows.centre;
    const uint8_t* __restrict s = rows.south;
    const int32_t bytes = 3 * width;
    if (width == 1) {
        for (int32_t i = 0; i < 3; ++i)
            out[i] = filter(WindowAt(n + i, c + i, s + i, 0, 0));
        return;
    }
    for (int32_t i = 0; i < 3; ++i)
        out[i] = filter(WindowAt(n + i, c + i, s + i, 0, 3));
    for (int32_t i = 3; i < bytes - 3; ++i)
        out[i] = filter(WindowAt(n + i, c + i, s + i, -3, 3));
    for (int32_t i = bytes - 3; i < bytes; ++i)
        out[i] = filter(WindowAt(n + i, c + i, s + i, -3, 0));
}

// Rows a pixel worker takes at a time: a 3x3 pass starts afresh at any row.
inline constexpr int32_t kFilterChunkRows = 64;

// Runs computeRow(slot, around, out) for every destination row y: `around`
// holds the source rows about y, `out` takes the row's 3 * width bytes. The
// rows are shared among the pixel workers in `chunks` (`slot` names the
// worker, 0..chunks.slots() - 1), each row written by one worker, and the
// source is only read, so results never feed back. Without a region `out` is
// the destination row; with one it is the worker's own buffer and only the
// selected pixels are copied, which keeps the computing loop free of
// branches. The buffers are allocated before any pixel is written
// (std::bad_alloc leaves the destination untouched).
template <class ComputeRow>
void ForEachNeighbourhoodRow(const CDibImage& destination, const CDibImage& source,
                             const RegionOfInterest& region, const SharedRowChunks& chunks,
                             const ComputeRow& computeRow) {
    const int32_t width = destination.width();
    SlotRows<uint8_t> computed(region.exists() ? chunks.slots() : 0,
                               3 * static_cast<size_t>(width));
    chunks.run([&](int64_t slot, RowSpan rows) {
        uint8_t* scratch = computed.slot(slot);
        for (int32_t y = rows.first; y < rows.end; ++y) {
            const uint8_t* selection = region.maskRow(y);
            uint8_t* out = selection == nullptr ? destination.row(y) : scratch;
            computeRow(slot, RowsAround(source, y), out);
            if (selection != nullptr)
                CopySelectedPixels(destination.row(y), scratch, selection, width);
        }
    });
}

// Runs a per-channel 3x3 filter, `uint8_t filter(const Window3x3&)`, over the
// image: every channel of every selected destination pixel becomes the filter
// of the same channel's neighbourhood in the source (replicate border), in
// chunks of kFilterChunkRows rows. The caller has checked the operands.
template <class ChannelFilter>
void FilterChannels3x3(const CDibImage& destination, const CDibImage& source,
                       const RegionOfInterest& region, const ChannelFilter& filter) {
    const int32_t width = destination.width();
    if (width == 0)
        return;
    ForEachNeighbourhoodRow(destination, source, region,
                            SharedRowChunks(destination.height, kFilterChunkRows),
                            [&](int64_t, const SourceRows& around, uint8_t* out) {
                                FilterChannelRow(around, out, width, filter);
                            });
}

} // namespace halvera
