#pragma once
namespace halvera {
// The five kinds of measured item that have a results tab, in tab order.
enum class MeasureKind : int { Point = 0, Line = 1, Circle = 2, Rectangle = 3, Angle = 4 };
} // namespace halvera
