#pragma once

#include "image/DibImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace halvera {

// The undo history keeps an image or mask block as zstd-compressed chunks of
// its bytes (header, palette, rows and row padding alike, so every byte comes
// back). A chunk is the unit of work of the pixel workers and the unit of
// "what changed": a step that touched a small region holds only the chunks
// of that region.
inline constexpr size_t kUndoChunkBytes = size_t{256} * 1024;
// zstd level 1. On the chunks of a photograph-like 4096 x 4096 picture
// (bench_undo BM_CompressChunk, one core) level 3 held the picture 3 % and a
// brightness step's difference 5 % smaller but compressed them 7 and 4 times
// slower; level 2 saved at most 2 % at half the speed. An invert's
// difference takes 26 bytes a chunk at every level.
inline constexpr int kUndoCompressionLevel = 1;

// One chunk's bytes, compressed. Never changed once made, so states and
// differences (and a snapshot of them) share chunks freely.
using CompressedChunk = std::shared_ptr<const std::vector<uint8_t>>;

// A whole block state: every chunk compressed. A copy shares the chunks, so
// taking a snapshot costs one pointer per chunk.
struct BlockState {
    std::vector<CompressedChunk> chunks;
    size_t blockBytes = 0;

    bool empty() const { return chunks.empty(); }
    size_t heldBytes() const;
};

// The difference between two states of a block: per chunk the exclusive-or of
// their bytes, compressed; null where the two are equal. Applying it to
// either state gives the other.
struct BlockDelta {
    std::vector<CompressedChunk> chunks;

    bool changes() const;
    size_t heldBytes() const;
};

// Makes `live` the new `base` and returns the difference from the old base
// (no difference when there was none). Only the chunks that changed are
// compressed again. False, with `base` untouched, when memory ran out.
bool TakeState(BlockState& base, const CDibImage& live, BlockDelta& difference);

// Applies `deltas` to `base` (only the chunks they change are compressed
// again); when `live` is given, writes the resulting state into it whole
// (every byte, whatever it held). False, with `base` untouched, when memory
// ran out.
bool ApplyDeltas(BlockState& base, std::span<const BlockDelta* const> deltas,
                 const CDibImage* live);

// Writes the state `deltas` lead to from `base` into `live` whole, leaving
// `base` as it is: nothing is compressed. False when memory ran out.
bool WriteWalkedState(const BlockState& base, std::span<const BlockDelta* const> deltas,
                      const CDibImage& live);

} // namespace halvera
