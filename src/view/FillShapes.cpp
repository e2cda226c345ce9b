#include "view/FillShapes.h"

#include "view/MidpointEllipse.h"
#include "view/PolygonScan.h"

#include <algorithm>

namespace halvera {

void FillRectColor(const PaintCanvas& canvas, const PixelRect& rect) {
    const PixelRect r = rect.normalized();
    const int32_t top = std::max(r.top, 0);
    const int32_t bottom = std::min(r.bottom, canvas.height() - 1);
    for (int32_t y = top; y <= bottom; ++y)
        canvas.span(y, r.left, r.right);
}

void FillEllipseColor(const PaintCanvas& canvas, const PixelRect& rect) {
    MidpointEllipse(rect).forEachSpan(
        [&](int32_t y, int32_t left, int32_t right) { canvas.span(y, left, right); });
}

int FillPolygonColor(const PaintCanvas& canvas, std::span<const PixelPoint> points) {
    return ScanPolygon(points, canvas.width(), canvas.height(),
                       [&](int32_t y, int32_t from, int32_t to) { canvas.span(y, from, to); });
}

} // namespace halvera
