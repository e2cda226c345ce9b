#pragma once

#include "image/RowBands.h"

#include <algorithm>
#include <cstdint>

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

} // namespace halvera
