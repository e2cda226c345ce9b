#include "view/Brush.h"

#include "view/MidpointEllipse.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace halvera {

namespace {

// The disc of one brush size, row by row as column offsets from its box's
// left edge (each row once, at its widest: the ellipse's spans of a row are
// all centred alike). A disc whose box lies wholly inside the image is the
// same ellipse moved, so a stroke steps the ellipse once and then writes one
// span per row for each stamp; a box squeezed at a border is stepped anew.
class BrushDisc {
public:
    explicit BrushDisc(int size) {
        const int32_t t = std::max(size, 1) - 1;
        reach_ = t / 2;
        extra_ = t % 2;
        rows_.assign(static_cast<size_t>(t) + 1, {INT32_MAX, INT32_MIN});
        MidpointEllipse({0, 0, t, t}).forEachSpan([&](int32_t y, int32_t left, int32_t right) {
            if (y < 0 || y > t)
                return;
            rows_[y].left = std::min(rows_[y].left, left);
            rows_[y].right = std::max(rows_[y].right, right);
        });
    }

    void stamp(const PaintCanvas& canvas, PixelPoint centre) const {
        if (!canvas.contains(centre.x, centre.y))
            return;
        const int32_t left = centre.x - reach_;
        const int32_t top = centre.y - reach_;
        const int32_t right = centre.x + reach_ + extra_;
        const int32_t bottom = centre.y + reach_ + extra_;
        if (left >= 0 && top >= 0 && right < canvas.width() && bottom < canvas.height()) {
            for (size_t y = 0; y < rows_.size(); ++y)
                if (rows_[y].left <= rows_[y].right)
                    canvas.span(top + static_cast<int32_t>(y), left + rows_[y].left,
                                left + rows_[y].right);
            return;
        }
        const int32_t maxX = canvas.width() - 1;
        const int32_t maxY = canvas.height() - 1;
        const PixelRect box{std::clamp(left, 0, maxX), std::clamp(top, 0, maxY),
                            std::clamp(right, 0, maxX), std::clamp(bottom, 0, maxY)};
        MidpointEllipse(box).forEachSpan(
            [&](int32_t y, int32_t from, int32_t to) { canvas.span(y, from, to); });
    }

private:
    struct Row {
        int32_t left;
        int32_t right;
    };
    int32_t reach_ = 0;
    int32_t extra_ = 0;
    std::vector<Row> rows_;
};

void Stroke(const PaintCanvas& canvas, const BrushDisc& disc, PixelPoint from, PixelPoint to) {
    // Bresenham along the major axis with the doubled error term; every step
    // moves at least one pixel, so every point after the start gets a disc.
    const int64_t dx = std::llabs(int64_t{to.x} - from.x);
    const int64_t dy = std::llabs(int64_t{to.y} - from.y);
    const int32_t sx = to.x >= from.x ? 1 : -1;
    const int32_t sy = to.y >= from.y ? 1 : -1;
    disc.stamp(canvas, from);
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
            disc.stamp(canvas, p);
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
            disc.stamp(canvas, p);
        }
    }
}

} // namespace

void StampBrush(const PaintCanvas& canvas, PixelPoint centre, int size) {
    BrushDisc(size).stamp(canvas, centre);
}

void StrokeLine(const PaintCanvas& canvas, PixelPoint from, PixelPoint to, int size) {
    Stroke(canvas, BrushDisc(size), from, to);
}

void StrokeRectangle(const PaintCanvas& canvas, const PixelRect& rect, int size) {
    // Discs centred outside the image paint nothing, so only the sides'
    // pixels inside it are walked.
    const PixelRect r = rect.normalized();
    const int32_t left = std::max(r.left, 0);
    const int32_t right = std::min(r.right, canvas.width() - 1);
    const int32_t top = std::max(r.top, 0);
    const int32_t bottom = std::min(r.bottom, canvas.height() - 1);
    const BrushDisc disc(size);
    for (int32_t x = left; x <= right; ++x) {
        disc.stamp(canvas, {x, r.top});
        disc.stamp(canvas, {x, r.bottom});
    }
    for (int32_t y = top; y <= bottom; ++y) {
        disc.stamp(canvas, {r.left, y});
        disc.stamp(canvas, {r.right, y});
    }
}

void StrokeEllipse(const PaintCanvas& canvas, const PixelRect& rect, int size) {
    const BrushDisc disc(size);
    MidpointEllipse(rect).forEachOutlinePoint([&](int32_t x, int32_t y) {
        disc.stamp(canvas, {x, y});
    });
}

void StrokePolygon(const PaintCanvas& canvas, std::span<const PixelPoint> points, int size) {
    if (points.size() < 2)
        return;
    const BrushDisc disc(size);
    for (size_t i = 0; i < points.size(); ++i)
        Stroke(canvas, disc, points[i], points[(i + 1) % points.size()]);
}

} // namespace halvera
