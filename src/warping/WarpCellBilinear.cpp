#include "warping/WarpCellBilinear.h"

#include "warping/Bilinear.h"
#include "warping/WarpBuffers.h"

#include <algorithm>

namespace halvera {

namespace {

// The blend along one axis, multiplied by the cell's area a = cw * ch: for a
// row t·ch rows below the top, the source coordinate at s·cw columns right of
// the left edge is (base + slope * s·cw) / a. Integer source points keep every
// product exact while they stay below 2^53.
struct BlendRow {
    double base;
    double slope;
};

BlendRow Blend(double p0, double p1, double p2, double p3, double cellWidth, double cellHeight,
               double rowOffset) {
    return BlendRow{p1 * cellWidth * cellHeight + (p2 - p1) * rowOffset * cellWidth,
                    (p0 - p1) * cellHeight + (p3 + p1 - p2 - p0) * rowOffset};
}

} // namespace

bool WarpCellBilinear(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                      const PixelRect& cell, const QuadCorners& source) {
    return WarpCellBilinear(image, working, RegionOfInterest(mask), cell, source);
}

bool WarpCellBilinear(const CDibImage& image, const CDibImage& working, const RegionOfInterest& roi,
                      const PixelRect& cell, const QuadCorners& source) {
    const int32_t width = image.width();
    const int32_t height = image.height;
    if (!AreWarpImages(image, working) || !IsPlaneOfSizeOrEmpty(roi.mask(), width, height))
        return false;
    const int64_t cellWidth = int64_t{cell.right} - cell.left;
    const int64_t cellHeight = int64_t{cell.bottom} - cell.top;
    if (cellWidth <= 0 || cellHeight <= 0)
        return true;

    RowTable sourceRows;
    if (!sourceRows.Build(working))
        return false;

    const double cw = static_cast<double>(cellWidth);
    const double ch = static_cast<double>(cellHeight);
    const double area = cw * ch;
    const double uLimit = width - 1;
    const double vLimit = height - 1;
    const PixelPoint p0 = source[kTopRight], p1 = source[kTopLeft];
    const PixelPoint p2 = source[kBottomLeft], p3 = source[kBottomRight];
    const int32_t firstColumn = std::max(cell.left, 0);
    const int32_t lastColumn = std::min(cell.right, width - 2);
    const int32_t firstRow = std::max(cell.top, 0);
    const int32_t lastRow = std::min(cell.bottom, height - 2);

    uint8_t* const* const rows = sourceRows.rows(); // a local the byte stores cannot alias
    for (int32_t y = firstRow; y <= lastRow; ++y) {
        const double rowOffset = static_cast<double>(int64_t{y} - cell.top);
        const BlendRow bu = Blend(p0.x, p1.x, p2.x, p3.x, cw, ch, rowOffset);
        const BlendRow bv = Blend(p0.y, p1.y, p2.y, p3.y, cw, ch, rowOffset);
        const uint8_t* const maskRow = roi.maskRow(y);
        uint8_t* const target = image.row(y);
        for (int32_t x = firstColumn; x <= lastColumn; ++x) {
            if (!RegionOfInterest::Selected(maskRow, x))
                continue;
            const double columnOffset = static_cast<double>(int64_t{x} - cell.left);
            const double u = (bu.base + bu.slope * columnOffset) / area;
            const double v = (bv.base + bv.slope * columnOffset) / area;
            if (!(u >= 0.0 && v >= 0.0 && u < uLimit && v < vLimit))
                continue;
            const auto i = static_cast<int32_t>(u);
            const auto j = static_cast<int32_t>(v);
            const ptrdiff_t from = ptrdiff_t{3} * i;
            BilinearPixel(rows[j] + from, rows[j + 1] + from, u - i, v - j,
                          target + ptrdiff_t{3} * x);
        }
    }
    return true;
}

} // namespace halvera
