#include "warping/ScaleRect.h"

#include "image/RegionOfInterest.h"
#include "warping/ScaleColumns.h"
#include "warping/ScaleRows.h"
#include "warping/ScaleWeights.h"
#include "warping/WarpBuffers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>

namespace halvera {

namespace {

// The destination span along one axis after normalising and capping.
struct AxisSpan {
    int64_t first; // lowest destination coordinate
    int64_t last;  // highest destination coordinate
    bool mirrored;
};

AxisSpan NormaliseSpan(int32_t from, int32_t to) {
    AxisSpan span{std::min(from, to), std::max(from, to), to < from};
    span.last = std::min(span.last, span.first + kMaxScaledExtent - 1);
    return span;
}

// The steps of one axis: destination coordinates limited to 0..limit, source
// positions sourceFirst + offset * scale whose truncation is at most limit.
// The offset runs from the span's leading edge (its far end when mirrored).
// Returns the number of steps, or -1 when the table cannot be allocated.
int32_t BuildAxis(std::unique_ptr<AxisStep[]>& steps, const AxisSpan& span, int32_t sourceFirst,
                  int32_t sourceExtent, int32_t limit) {
    const double scale =
        static_cast<double>(sourceExtent) / static_cast<double>(span.last - span.first + 1);
    const int64_t first = std::max<int64_t>(span.first, 0);
    const int64_t last = std::min<int64_t>(span.last, limit);
    const int64_t count = std::max<int64_t>(last - first + 1, 0);
    steps.reset(new (std::nothrow) AxisStep[static_cast<size_t>(count) + 1]);
    if (!steps)
        return -1;
    int32_t used = 0;
    for (int64_t target = first; target <= last; ++target) {
        const int64_t offset = span.mirrored ? span.last - target : target - span.first;
        const double position = sourceFirst + static_cast<double>(offset) * scale;
        const auto whole = static_cast<int32_t>(position);
        if (whole > limit)
            continue;
        steps[used++] = AxisStep{static_cast<int32_t>(target), whole, position - whole};
    }
    return used;
}

// The first half of the bilinear rule (Bilinear.h) for one source row: per
// column and channel, p(i, j) + trunc(dx * (p(i+1, j) - p(i, j))). A zoom-in
// samples the same source rows for several destination rows, so each row is
// interpolated across once and kept while it is needed.
class AcrossRows {
public:
    explicit AcrossRows(const ScaleColumns& columns) : columns_(columns) {}

    bool Allocate() {
        const size_t bytes = static_cast<size_t>(columns_.bytes()) + 1;
        for (std::unique_ptr<uint8_t[]>* row : {&rows_[0], &rows_[1], &left_, &right_}) {
            row->reset(new (std::nothrow) uint8_t[bytes]);
            if (!*row)
                return false;
        }
        return true;
    }

    // The row for source row j (upper) and, when `lower` is asked for, j + 1,
    // reusing what the previous destination row computed.
    void Prepare(int32_t j, bool lower, uint8_t* const* source) {
        if (held_[0] != j) {
            // A held row that is needed in the other place changes places:
            // the destination is walked bottom row first, so unless it is
            // mirrored the source rows are met from the bottom up.
            if (held_[1] == j || held_[0] == j + 1) {
                std::swap(rows_[0], rows_[1]);
                std::swap(held_[0], held_[1]);
            }
            if (held_[0] != j) {
                Interpolate(source[j], 0);
                held_[0] = j;
            }
        }
        if (lower && held_[1] != j + 1) {
            Interpolate(source[j + 1], 1);
            held_[1] = j + 1;
        }
    }
    const uint8_t* upper() const { return rows_[0].get(); }
    const uint8_t* lower() const { return rows_[1].get(); }

private:
    void Interpolate(const uint8_t* row, int which) {
        columns_.Interpolate(row, left_.get(), right_.get(), rows_[which].get());
    }

    const ScaleColumns& columns_;
    std::unique_ptr<uint8_t[]> rows_[2];
    std::unique_ptr<uint8_t[]> left_;
    std::unique_ptr<uint8_t[]> right_;
    int32_t held_[2] = {-1, -1};
};

// The second half for one destination row by the double rule:
// trunc(d * dy + 0.5) for every difference d = bottom - top in -255..255, one
// table per row instead of a multiplication per channel.
struct DownTable {
    int16_t value[511];
    explicit DownTable(double dy) {
        for (int d = -255; d <= 255; ++d)
            value[d + 255] = static_cast<int16_t>(DownByRule(d, dy));
    }
    int16_t operator()(int d) const { return value[d + 255]; }
};

// The second half for one destination row, `out` receiving columns.bytes()
// bytes: a row at fraction 0 is its upper row across; otherwise the vector
// blend with the row's fixed-point weight, or the table where it has none.
void BlendDown(const AcrossRows& across, int32_t bytes, double dy, WeightCache& weightOf,
               uint8_t* out) {
    const uint8_t* const top = across.upper();
    if (dy == 0.0) {
        std::memcpy(out, top, static_cast<size_t>(bytes));
        return;
    }
    const uint8_t* const bottom = across.lower();
    if (const std::optional<uint16_t> weight = weightOf(dy)) {
        BlendDownRow(top, bottom, *weight, out, bytes);
        return;
    }
    const DownTable down(dy);
    for (int32_t i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(top[i] + down(bottom[i] - top[i]));
}

// The image without a region: every destination pixel of the steps. A row at
// fraction 0 over columns at fraction 0 is a plain copy of source pixels.
bool ScaleWholeRows(const CDibImage& image, uint8_t* const* source, const AxisStep* rows,
                    int32_t rowCount, const ScaleColumns& columns) {
    AcrossRows across(columns);
    if (!across.Allocate())
        return false;
    WeightCache weightOf(DownWeight);
    const ptrdiff_t firstByte = ptrdiff_t{3} * columns.firstTarget();
    // Bottom row first: the rows then follow each other upwards in memory,
    // which the processor's prefetching follows.
    for (int32_t r = rowCount - 1; r >= 0; --r) {
        const AxisStep row = rows[r];
        uint8_t* const out = image.row(row.target) + firstByte;
        if (row.fraction == 0.0 && columns.nearest()) {
            columns.GatherLeft(source[row.source], out, false);
            continue;
        }
        across.Prepare(row.source, row.fraction != 0.0, source);
        BlendDown(across, columns.bytes(), row.fraction, weightOf, out);
    }
    return true;
}

// With a region: each row is blended as without one into a work row, and
// only pixels whose saved-mask byte is selected are taken from it.
bool ScaleSelectedRows(const CDibImage& image, const CDibImage& mask, uint8_t* const* source,
                       uint8_t* const* saved, const AxisStep* rows, int32_t rowCount,
                       const ScaleColumns& columns, const AxisStep* columnSteps) {
    AcrossRows across(columns);
    const std::unique_ptr<uint8_t[]> blended(new (std::nothrow)
                                                 uint8_t[static_cast<size_t>(columns.bytes()) + 1]);
    if (!across.Allocate() || !blended)
        return false;
    std::memset(mask.bits, 0, static_cast<size_t>(mask.bitsSize));
    WeightCache weightOf(DownWeight);
    const int32_t columnCount = columns.count();
    const int32_t firstTarget = columns.firstTarget();
    for (int32_t r = rowCount - 1; r >= 0; --r) { // in memory order, as ScaleWholeRows
        const AxisStep row = rows[r];
        across.Prepare(row.source, row.fraction != 0.0, source);
        BlendDown(across, columns.bytes(), row.fraction, weightOf, blended.get());
        const uint8_t* from = blended.get();
        uint8_t* out = image.row(row.target) + ptrdiff_t{3} * firstTarget;
        uint8_t* const maskRow = mask.row(row.target) + firstTarget;
        const uint8_t* const savedRow = saved[row.source];
        for (int32_t c = 0; c < columnCount; ++c, from += 3, out += 3) {
            const uint8_t selected = savedRow[columnSteps[c].source];
            maskRow[c] = selected;
            if (IsSelectedByte(selected))
                std::memcpy(out, from, 3);
        }
    }
    return true;
}

} // namespace

bool ScaleRect(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
               const CDibImage& savedMask, const PixelRect& source, const PixelRect& destination) {
    const int32_t width = image.width();
    const int32_t height = image.height;
    if (!AreWarpImages(image, working) || !AreWarpMasks(mask, savedMask, width, height))
        return false;
    if (source.left < 0 || source.top < 0 || source.right >= width || source.bottom >= height ||
        source.left > source.right || source.top > source.bottom)
        return false;

    std::unique_ptr<AxisStep[]> columns;
    std::unique_ptr<AxisStep[]> rows;
    const int32_t columnCount =
        BuildAxis(columns, NormaliseSpan(destination.left, destination.right), source.left,
                  source.width(), width - 2);
    const int32_t rowCount = BuildAxis(rows, NormaliseSpan(destination.top, destination.bottom),
                                       source.top, source.height(), height - 2);
    RowTable sourceRows;
    RowTable savedRows;
    if (columnCount < 0 || rowCount < 0 || !sourceRows.Build(working) ||
        !savedRows.Build(savedMask))
        return false;

    ScaleColumns scaleColumns;
    if (!scaleColumns.Build(columns.get(), columnCount, width))
        return false;
    if (!RegionOfInterest(savedMask).exists())
        return ScaleWholeRows(image, sourceRows.rows(), rows.get(), rowCount, scaleColumns);
    return ScaleSelectedRows(image, mask, sourceRows.rows(), savedRows.rows(), rows.get(), rowCount,
                             scaleColumns, columns.get());
}

} // namespace halvera
