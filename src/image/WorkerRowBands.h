#pragma once

#include "image/RowBands.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace halvera {

// Rows first..end-1 of an image.
struct RowSpan {
    int32_t first = 0;
    int32_t end = 0;
};

// An image's rows cut into one band per pixel worker (never more bands than
// rows), each a run of consecutive rows of nearly equal height. For passes
// that carry state down the rows (running sums, rings of rows), where every
// band pays to start that state afresh at its first row: one band per worker
// pays it the fewest times. A band that needs a scratch buffer gets slot
// `band` of a buffer the caller allocates for count() bands before any pixel
// is written, so a failed allocation leaves the image untouched and no band
// allocates (a band cannot report a failure from its thread).
class WorkerRowBands {
public:
    explicit WorkerRowBands(int32_t rows)
        : rows_(std::max(rows, 0)), count_(std::min<int64_t>(PixelWorkerCount(), rows_)) {}

    int64_t count() const { return count_; }

    // Band b's rows; the first rows % count() bands are one row taller.
    RowSpan span(int64_t band) const {
        return {static_cast<int32_t>(rows_ * band / count_),
                static_cast<int32_t>(rows_ * (band + 1) / count_)};
    }

    // Runs work(band, span(band)) for every band on the pixel workers and
    // returns when all are done.
    template <class Work> void run(const Work& work) const {
        ForEachRowBand(count_, [this, &work](int64_t band) { work(band, span(band)); });
    }

private:
    int64_t rows_;
    int64_t count_;
};

// An image's rows cut into chunks of `chunkRows` (the last one shorter) that
// the pixel workers take in order, each the next one as soon as it has
// finished its last, so a worker that other programs slow down takes fewer
// of them and the others are not left waiting. With one worker the rows are
// one chunk. For passes whose rows do not depend on each other, or whose state
// is cheap to start afresh at a chunk's first row. A worker with a scratch
// buffer gets slot `slot` of a buffer the caller allocates for slots()
// workers before any pixel is written; a slot is never in use twice at once.
class SharedRowChunks {
public:
    SharedRowChunks(int32_t rows, int32_t chunkRows)
        : SharedRowChunks(rows, chunkRows, PixelWorkerCount()) {}

    int64_t slots() const { return slots_; }

    // Runs work(slot, rows) for every chunk on the pixel workers and returns
    // when all are done.
    template <class Work> void run(const Work& work) const {
        std::atomic<int64_t> next{0};
        ForEachRowBand(slots_, [&](int64_t slot) {
            for (int64_t chunk = next++; chunk < chunks_; chunk = next++)
                work(slot,
                     RowSpan{static_cast<int32_t>(chunk * chunkRows_),
                             static_cast<int32_t>(std::min(rows_, (chunk + 1) * chunkRows_))});
        });
    }

private:
    SharedRowChunks(int32_t rows, int32_t chunkRows, int workers)
        : rows_(std::max(rows, 0)),
          chunkRows_(workers > 1 ? std::max(chunkRows, 1) : std::max<int64_t>(rows_, 1)),
          chunks_((rows_ + chunkRows_ - 1) / chunkRows_),
          slots_(std::min<int64_t>(workers, chunks_)) {}

    int64_t rows_;
    int64_t chunkRows_;
    int64_t chunks_;
    int64_t slots_;
};

// One scratch row of `count` values for each of `slots` bands or workers,
// allocated at once (std::bad_alloc when there is no memory). Every slot
// starts on a 64-byte line wherever the allocator puts the block, so no two
// workers write the same cache line and a row's vector loads start aligned
// (a misaligned row of sums costs the average about 15 %).
template <class T> class SlotRows {
public:
    SlotRows(int64_t slots, size_t count)
        : stride_((count * sizeof(T) + kLine - 1) / kLine * kLine / sizeof(T)),
          storage_(slots > 0 && count > 0 ? static_cast<size_t>(slots) * stride_ + kLine / sizeof(T)
                                          : 0) {}

    // Null when there are no slots (a pass that needs no scratch row).
    T* slot(int64_t index) {
        if (storage_.empty())
            return nullptr;
        const auto misalignment = reinterpret_cast<uintptr_t>(storage_.data()) % kLine;
        T* first = storage_.data() + (kLine - misalignment) % kLine / sizeof(T);
        return first + static_cast<size_t>(index) * stride_;
    }

private:
    static constexpr size_t kLine = 64;
    static_assert(kLine % sizeof(T) == 0);

    size_t stride_;
    std::vector<T> storage_;
};

} // namespace halvera
