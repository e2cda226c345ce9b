#include "document/CompressedBlock.h"

#include "image/RowBands.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <zstd.h>

namespace halvera {

namespace {

struct ChunkSpan {
    uint8_t* bytes;
    size_t size;
};

size_t ChunkSize(size_t blockBytes, size_t chunk) {
    return std::min(kUndoChunkBytes, blockBytes - chunk * kUndoChunkBytes);
}

ChunkSpan ChunkOf(const CDibImage& block, size_t chunk) {
    return {reinterpret_cast<uint8_t*>(block.header) + chunk * kUndoChunkBytes,
            ChunkSize(static_cast<size_t>(block.blockSize), chunk)};
}

size_t ChunkCount(const CDibImage& block) {
    return (static_cast<size_t>(block.blockSize) + kUndoChunkBytes - 1) / kUndoChunkBytes;
}

// target ^= source, eight bytes at a time; true when any byte of the result
// is not zero.
bool XorInto(uint8_t* target, const uint8_t* source, size_t size) {
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, target + i, 8);
        std::memcpy(&b, source + i, 8);
        a ^= b;
        any |= a;
        std::memcpy(target + i, &a, 8);
    }
    for (; i < size; ++i) {
        target[i] ^= source[i];
        any |= target[i];
    }
    return any != 0;
}

CompressedChunk Compress(const uint8_t* bytes, size_t size, std::vector<uint8_t>& scratch) {
    scratch.resize(ZSTD_compressBound(size));
    const size_t written =
        ZSTD_compress(scratch.data(), scratch.size(), bytes, size, kUndoCompressionLevel);
    if (ZSTD_isError(written))
        throw std::bad_alloc();
    return std::make_shared<const std::vector<uint8_t>>(scratch.begin(), scratch.begin() + written);
}

// Our own frames always decompress to their chunk's size; anything else is
// memory gone wrong and is treated as a failed step.
void Decompress(const CompressedChunk& chunk, uint8_t* target, size_t size) {
    const size_t read = ZSTD_decompress(target, size, chunk->data(), chunk->size());
    if (ZSTD_isError(read) || read != size)
        throw std::bad_alloc();
}

// Runs work(chunk, scratch) for every chunk on the pixel workers, each worker
// with its own scratch buffers; false when any chunk ran out of memory (the
// workers cannot throw across their threads).
template <class Work> bool ForEachChunk(size_t chunks, const Work& work) {
    std::atomic<bool> failed{false};
    ForEachRowBand(static_cast<int64_t>(chunks), [&](int64_t chunk) {
        if (failed)
            return;
        try {
            thread_local std::vector<uint8_t> state;
            thread_local std::vector<uint8_t> other;
            thread_local std::vector<uint8_t> packed;
            state.resize(kUndoChunkBytes);
            other.resize(kUndoChunkBytes);
            work(static_cast<size_t>(chunk), state.data(), other.data(), packed);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    });
    return !failed;
}

size_t HeldBytes(const std::vector<CompressedChunk>& chunks) {
    size_t bytes = 0;
    for (const CompressedChunk& chunk : chunks)
        if (chunk)
            bytes += chunk->capacity();
    return bytes;
}

} // namespace

size_t BlockState::heldBytes() const {
    return HeldBytes(chunks);
}

bool BlockDelta::changes() const {
    return std::any_of(chunks.begin(), chunks.end(), [](const auto& chunk) { return !!chunk; });
}

size_t BlockDelta::heldBytes() const {
    return HeldBytes(chunks);
}

bool TakeState(BlockState& base, const CDibImage& live, BlockDelta& difference) {
    const size_t chunks = ChunkCount(live);
    try {
        std::vector<CompressedChunk> state = base.chunks;
        std::vector<CompressedChunk> changed;
        if (state.size() != chunks || base.blockBytes != static_cast<size_t>(live.blockSize)) {
            // No earlier state of this size: the whole block, and no difference.
            state.assign(chunks, nullptr);
            changed.assign(chunks, nullptr);
            if (!ForEachChunk(chunks,
                              [&](size_t c, uint8_t*, uint8_t*, std::vector<uint8_t>& packed) {
                                  const ChunkSpan span = ChunkOf(live, c);
                                  state[c] = Compress(span.bytes, span.size, packed);
                              }))
                return false;
        } else {
            changed.assign(chunks, nullptr);
            if (!ForEachChunk(chunks,
                              [&](size_t c, uint8_t* old, uint8_t*, std::vector<uint8_t>& packed) {
                                  const ChunkSpan span = ChunkOf(live, c);
                                  Decompress(state[c], old, span.size);
                                  if (!XorInto(old, span.bytes, span.size))
                                      return;
                                  changed[c] = Compress(old, span.size, packed);
                                  state[c] = Compress(span.bytes, span.size, packed);
                              }))
                return false;
        }
        base.chunks = std::move(state);
        base.blockBytes = static_cast<size_t>(live.blockSize);
        difference.chunks = std::move(changed);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ApplyDeltas(BlockState& base, std::span<const BlockDelta* const> deltas,
                 const CDibImage* live) {
    const size_t chunks = base.chunks.size();
    try {
        std::vector<CompressedChunk> state = base.chunks;
        if (!ForEachChunk(chunks, [&](size_t c, uint8_t* bytes, uint8_t* delta,
                                      std::vector<uint8_t>& packed) {
                const size_t size = ChunkSize(base.blockBytes, c);
                bool changed = false;
                for (const BlockDelta* difference : deltas)
                    if (c < difference->chunks.size() && difference->chunks[c]) {
                        if (!changed)
                            Decompress(state[c], bytes, size);
                        Decompress(difference->chunks[c], delta, size);
                        XorInto(bytes, delta, size);
                        changed = true;
                    }
                if (changed)
                    state[c] = Compress(bytes, size, packed);
                if (live) {
                    if (!changed)
                        Decompress(state[c], bytes, size);
                    std::memcpy(ChunkOf(*live, c).bytes, bytes, size);
                }
            }))
            return false;
        base.chunks = std::move(state);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace halvera
