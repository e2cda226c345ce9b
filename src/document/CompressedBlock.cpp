#include "document/CompressedBlock.h"

#include "image/RowBands.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <zstd.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

// One compression and one decompression context per thread, kept for the
// thread's life, so a chunk costs no context set-up.
struct ZstdContexts {
    ZSTD_CCtx* compress = ZSTD_createCCtx();
    ZSTD_DCtx* decompress = ZSTD_createDCtx();
    ZstdContexts() = default;
    ZstdContexts(const ZstdContexts&) = delete;
    ZstdContexts& operator=(const ZstdContexts&) = delete;
    ~ZstdContexts() {
        ZSTD_freeCCtx(compress);
        ZSTD_freeDCtx(decompress);
    }
};

ZstdContexts& ThreadContexts() {
    thread_local ZstdContexts contexts;
    if (!contexts.compress || !contexts.decompress)
        throw std::bad_alloc();
    return contexts;
}

CompressedChunk Compress(const uint8_t* bytes, size_t size, std::vector<uint8_t>& scratch) {
    scratch.resize(ZSTD_compressBound(size));
    const size_t written = ZSTD_compressCCtx(ThreadContexts().compress, scratch.data(),
                                             scratch.size(), bytes, size, kUndoCompressionLevel);
    if (ZSTD_isError(written))
        throw std::bad_alloc();
    return std::make_shared<const std::vector<uint8_t>>(scratch.begin(), scratch.begin() + written);
}

// Our own frames always decompress to their chunk's size; anything else is
// memory gone wrong and is treated as a failed step.
void Decompress(const CompressedChunk& chunk, uint8_t* target, size_t size) {
    const size_t read = ZSTD_decompressDCtx(ThreadContexts().decompress, target, size,
                                            chunk->data(), chunk->size());
    if (ZSTD_isError(read) || read != size)
        throw std::bad_alloc();
}

// The chunks a state replaced were freed on the pixel workers' heaps, in
// pieces the size of a chunk between live ones, where the C library keeps
// them as the process's memory; each new state would add about its own size
// again. Giving their pages back after each new state keeps the process at
// what the history holds.
void ReturnFreedChunks() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
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
        ReturnFreedChunks();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

namespace {

// Walks `base` through `deltas` chunk by chunk. Each chunk's resulting bytes
// are made in `live` itself when it is given (so nothing is copied after);
// with `moved`, it receives the new base: the chunks the deltas change
// compressed again, the others shared with `base`.
bool WalkDeltas(const BlockState& base, std::span<const BlockDelta* const> deltas,
                const CDibImage* live, std::vector<CompressedChunk>* moved) {
    const auto changes = [&](size_t c) {
        return std::any_of(deltas.begin(), deltas.end(), [c](const BlockDelta* difference) {
            return c < difference->chunks.size() && difference->chunks[c];
        });
    };
    try {
        if (moved)
            *moved = base.chunks;
        return ForEachChunk(base.chunks.size(), [&](size_t c, uint8_t* scratch, uint8_t* delta,
                                                    std::vector<uint8_t>& packed) {
            const bool changed = changes(c);
            if (!changed && !live)
                return;
            const size_t size = ChunkSize(base.blockBytes, c);
            uint8_t* bytes = live ? ChunkOf(*live, c).bytes : scratch;
            Decompress(base.chunks[c], bytes, size);
            for (const BlockDelta* difference : deltas)
                if (c < difference->chunks.size() && difference->chunks[c]) {
                    Decompress(difference->chunks[c], delta, size);
                    XorInto(bytes, delta, size);
                }
            if (changed && moved)
                (*moved)[c] = Compress(bytes, size, packed);
        });
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

bool ApplyDeltas(BlockState& base, std::span<const BlockDelta* const> deltas,
                 const CDibImage* live) {
    std::vector<CompressedChunk> moved;
    if (!WalkDeltas(base, deltas, live, &moved))
        return false;
    base.chunks = std::move(moved);
    if (!deltas.empty())
        ReturnFreedChunks();
    return true;
}

bool WriteWalkedState(const BlockState& base, std::span<const BlockDelta* const> deltas,
                      const CDibImage& live) {
    return WalkDeltas(base, deltas, &live, nullptr);
}

} // namespace halvera
