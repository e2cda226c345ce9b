#include "measure/MeasureHitTest.h"

#include "measure/BresenhamLine.h"

#include <cstdlib>

namespace halvera {

bool HitsPoint(PixelPoint point, PixelPoint mouse) {
    return std::llabs(int64_t{mouse.x} - point.x) <= kMeasureHitTolerance &&
           std::llabs(int64_t{mouse.y} - point.y) <= kMeasureHitTolerance;
}

int HitStoredPoint(std::span<const PixelPoint> points, PixelPoint mouse) {
    for (size_t i = 0; i < points.size(); ++i)
        if (HitsPoint(points[i], mouse))
            return static_cast<int>(i);
    return -1;
}

int HitLineBody(std::span<const PixelPoint> lines, PixelPoint mouse) {
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        bool hit = false;
        ForEachLinePixel(lines[i], lines[i + 1],
                         [&](PixelPoint p) { hit = hit || HitsPoint(p, mouse); });
        if (hit)
            return static_cast<int>(i / 2);
    }
    return -1;
}

RectangleHit HitRectangle(std::span<const PixelRect> rectangles, PixelPoint mouse) {
    for (size_t i = 0; i < rectangles.size(); ++i) {
        const PixelRect& r = rectangles[i];
        const PixelPoint corners[] = {
            {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        for (int corner = 0; corner < 4; ++corner)
            if (HitsPoint(corners[corner], mouse))
                return {static_cast<int>(i), static_cast<RectanglePart>(corner)};
        if (mouse.x >= r.left && mouse.x < r.right && mouse.y >= r.top && mouse.y < r.bottom)
            return {static_cast<int>(i), RectanglePart::Interior};
    }
    return {};
}

} // namespace halvera
