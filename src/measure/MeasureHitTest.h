#pragma once

#include "image/PixelGeometry.h"

#include <span>

namespace halvera {

// How far (in image pixels, on each axis) a press may lie from a stored
// point and still grab it.
inline constexpr int kMeasureHitTolerance = 5;

// Whether `mouse` lies within the tolerance of `point` on both axes.
bool HitsPoint(PixelPoint point, PixelPoint mouse);

// The first element of `points` in storage order that `mouse` hits, or -1.
// For lines, circles and angles the element index also tells which defining
// point was hit (index % 2, index % 3).
int HitStoredPoint(std::span<const PixelPoint> points, PixelPoint mouse);

// The first line (item index) that has a pixel of its Bresenham walk from S to
// E within the tolerance of `mouse`, or -1.
int HitLineBody(std::span<const PixelPoint> lines, PixelPoint mouse);

// The part of a rectangle grabbed by a press.
enum class RectanglePart : int {
    None = -1,
    LeftTop = 0,
    RightTop = 1,
    RightBottom = 2,
    LeftBottom = 3,
    Interior = 4
};
struct RectangleHit {
    int index = -1;
    RectanglePart part = RectanglePart::None;
    bool operator==(const RectangleHit&) const = default;
};

// Tests rectangle by rectangle in storage order: the corners left-top,
// right-top, right-bottom, left-bottom, then the interior (left <= x < right
// and top <= y < bottom).
RectangleHit HitRectangle(std::span<const PixelRect> rectangles, PixelPoint mouse);

} // namespace halvera
