#pragma once

#include <cstddef>

namespace halvera {
// The five kinds of measured item that have a results tab, in tab order.
enum class MeasureKind : int { Point = 0, Line = 1, Circle = 2, Rectangle = 3, Angle = 4 };

// Elements per item of a kind: a point, a line's two ends, a circle's centre
// and a point on it, one rectangle, an angle's arm ends and vertex.
constexpr size_t ElementsPerItemOf(MeasureKind kind) {
    constexpr size_t kElements[] = {1, 2, 2, 1, 3};
    return kElements[static_cast<int>(kind)];
}
} // namespace halvera
