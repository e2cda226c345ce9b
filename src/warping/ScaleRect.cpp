#include "warping/ScaleRect.h"

#include "image/RegionOfInterest.h"
#include "warping/Bilinear.h"
#include "warping/WarpBuffers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace halvera {

namespace {

// One destination column or row and the source column or row it samples.
struct AxisStep {
    int32_t target;  // destination x or y
    int32_t source;  // truncated source x or y
    double fraction; // source position minus `source`, 0 <= fraction < 1
};

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
// column step and channel, p(i, j) + trunc(dx * (p(i+1, j) - p(i, j))). A
// zoom-in samples the same source rows for several destination rows, so each
// row is interpolated across once and kept while it is needed.
class AcrossRows {
public:
    bool Allocate(int32_t columnCount) {
        const size_t values = 3 * static_cast<size_t>(columnCount);
        for (std::unique_ptr<int16_t[]>& row : rows_) {
            row.reset(new (std::nothrow) int16_t[values]);
            if (!row)
                return false;
        }
        return true;
    }

    // The rows for source rows j (upper) and j + 1 (lower), reusing what the
    // previous destination row computed.
    void Prepare(int32_t j, uint8_t* const* source, const AxisStep* columns, int32_t count) {
        if (held_[0] == j && held_[1] == j + 1)
            return;
        if (held_[1] == j) {
            std::swap(rows_[0], rows_[1]);
            held_[0] = j;
        } else {
            Interpolate(source[j], columns, count, rows_[0].get());
            held_[0] = j;
        }
        Interpolate(source[j + 1], columns, count, rows_[1].get());
        held_[1] = j + 1;
    }
    const int16_t* upper() const { return rows_[0].get(); }
    const int16_t* lower() const { return rows_[1].get(); }

private:
    static void Interpolate(const uint8_t* row, const AxisStep* columns, int32_t count,
                            int16_t* out) {
        for (int32_t c = 0; c < count; ++c, out += 3) {
            const uint8_t* p = row + ptrdiff_t{3} * columns[c].source;
            const double dx = columns[c].fraction;
            for (int k = 0; k < 3; ++k)
                out[k] = static_cast<int16_t>(p[k] + static_cast<int>(dx * (p[k + 3] - p[k])));
        }
    }

    std::unique_ptr<int16_t[]> rows_[2];
    int32_t held_[2] = {-1, -1};
};

// The second half for one destination row: trunc(d * dy + 0.5) for every
// difference d = bottom - top in -255..255, one table per row instead of a
// multiplication per channel.
struct DownTable {
    int16_t value[511];
    explicit DownTable(double dy) {
        for (int d = -255; d <= 255; ++d)
            value[d + 255] = static_cast<int16_t>(static_cast<int>(d * dy + 0.5));
    }
    int16_t operator()(int d) const { return value[d + 255]; }
};

// The image without a region: every destination pixel of the steps.
bool ScaleWholeRows(const CDibImage& image, uint8_t* const* source, const AxisStep* rows,
                    int32_t rowCount, const AxisStep* columns, int32_t columnCount) {
    AcrossRows across;
    if (!across.Allocate(columnCount))
        return false;
    for (int32_t r = 0; r < rowCount; ++r) {
        const AxisStep row = rows[r];
        across.Prepare(row.source, source, columns, columnCount);
        const DownTable down(row.fraction);
        const int16_t* top = across.upper();
        const int16_t* bottom = across.lower();
        uint8_t* const target = image.row(row.target);
        for (int32_t c = 0; c < columnCount; ++c, top += 3, bottom += 3) {
            uint8_t* out = target + ptrdiff_t{3} * columns[c].target;
            for (int k = 0; k < 3; ++k)
                out[k] = static_cast<uint8_t>(top[k] + down(bottom[k] - top[k]));
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

    const bool region = RegionOfInterest(savedMask).exists();
    if (!region)
        return ScaleWholeRows(image, sourceRows.rows(), rows.get(), rowCount, columns.get(),
                              columnCount);
    std::memset(mask.bits, 0, static_cast<size_t>(mask.bitsSize));

    // Plain pointers in locals: the byte stores below may alias anything the
    // compiler cannot see is local, and would make it reload the tables.
    const AxisStep* const columnSteps = columns.get();
    uint8_t* const* const sourceTable = sourceRows.rows();
    uint8_t* const* const savedTable = savedRows.rows();
    for (int32_t r = 0; r < rowCount; ++r) {
        const AxisStep row = rows[r];
        uint8_t* const target = image.row(row.target);
        const uint8_t* const upper = sourceTable[row.source];
        const uint8_t* const lower = sourceTable[row.source + 1];
        uint8_t* const maskRow = mask.row(row.target);
        const uint8_t* const savedRow = savedTable[row.source];
        for (int32_t c = 0; c < columnCount; ++c) {
            const AxisStep column = columnSteps[c];
            const uint8_t selected = savedRow[column.source];
            maskRow[column.target] = selected;
            if (!IsSelectedByte(selected))
                continue;
            const ptrdiff_t from = ptrdiff_t{3} * column.source;
            BilinearPixel(upper + from, lower + from, column.fraction, row.fraction,
                          target + ptrdiff_t{3} * column.target);
        }
    }
    return true;
}

} // namespace halvera
