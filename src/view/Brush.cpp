#include "view/Brush.h"

#include "view/MidpointEllipse.h"

#include <algorithm>
#include <cstdlib>

namespace halvera {

void StampBrush(const PaintCanvas& canvas, PixelPoint centre, int size) {
    if (!canvas.contains(centre.x, centre.y))
        return;
    const int32_t t = std::max(size, 1) - 1;
    const int32_t h = t / 2;
    const int32_t e = t % 2;
    const int32_t maxX = canvas.width() - 1;
    const int32_t maxY = canvas.height() - 1;
    const PixelRect box{std::clamp(centre.x - h, 0, maxX), std::clamp(centre.y - h, 0, maxY),
                        std::clamp(centre.x + h + e, 0, maxX),
                        std::clamp(centre.y + h + e, 0, maxY)};
    if (box.left == box.right && box.top == box.bottom) {
        canvas.pixel(box.left, box.top);
        return;
    }
    MidpointEllipse(box).forEachSpan(
        [&](int32_t y, int32_t left, int32_t right) { canvas.span(y, left, right); });
}

void StrokeLine(const PaintCanvas& canvas, PixelPoint from, PixelPoint to, int size) {
    StampBrush(canvas, from, size);
    // Bresenham along the major axis with the doubled error term; every step
    // moves at least one pixel, so every point after the start gets a disc.
    const int64_t dx = std::llabs(int64_t{to.x} - from.x);
    const int64_t dy = std::llabs(int64_t{to.y} - from.y);
    const int32_t sx = to.x >= from.x ? 1 : -1;
    const int32_t sy = to.y >= from.y ? 1 : -1;
    PixelPoint p = from;
    if (dx >= dy) {
        int64_t error = 2 * dy - dx;
        for (int64_t i = 0; i < dx; ++i) {
            if (error > 0) {
                p.y += sy;
                error -= 2 * dx;
            }
            error += 2 * dy;
            p.x += sx;
            StampBrush(canvas, p, size);
        }
    } else {
        int64_t error = 2 * dx - dy;
        for (int64_t i = 0; i < dy; ++i) {
            if (error > 0) {
                p.x += sx;
                error -= 2 * dy;
            }
            error += 2 * dx;
            p.y += sy;
            StampBrush(canvas, p, size);
        }
    }
}

void StrokeRectangle(const PaintCanvas& canvas, const PixelRect& rect, int size) {
    // Discs centred outside the image paint nothing, so only the sides'
    // pixels inside it are walked.
    const PixelRect r = rect.normalized();
    const int32_t left = std::max(r.left, 0);
    const int32_t right = std::min(r.right, canvas.width() - 1);
    const int32_t top = std::max(r.top, 0);
    const int32_t bottom = std::min(r.bottom, canvas.height() - 1);
    for (int32_t x = left; x <= right; ++x) {
        StampBrush(canvas, {x, r.top}, size);
        StampBrush(canvas, {x, r.bottom}, size);
    }
    for (int32_t y = top; y <= bottom; ++y) {
        StampBrush(canvas, {r.left, y}, size);
        StampBrush(canvas, {r.right, y}, size);
    }
}

void StrokeEllipse(const PaintCanvas& canvas, const PixelRect& rect, int size) {
    MidpointEllipse(rect).forEachOutlinePoint([&](int32_t x, int32_t y) {
        StampBrush(canvas, {x, y}, size);
    });
}

void StrokePolygon(const PaintCanvas& canvas, std::span<const PixelPoint> points, int size) {
    if (points.size() < 2)
        return;
    for (size_t i = 0; i < points.size(); ++i)
        StrokeLine(canvas, points[i], points[(i + 1) % points.size()], size);
}

} // namespace halvera
