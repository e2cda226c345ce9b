#include "warping/ScaleRect.h"

#include "image/RegionOfInterest.h"
#include "warping/Bilinear.h"
#include "warping/WarpBuffers.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

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
    if (region)
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
        if (!region) {
            for (int32_t c = 0; c < columnCount; ++c) {
                const AxisStep column = columnSteps[c];
                const ptrdiff_t from = ptrdiff_t{3} * column.source;
                BilinearPixel(upper + from, lower + from, column.fraction, row.fraction,
                              target + ptrdiff_t{3} * column.target);
            }
            continue;
        }
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
