#pragma once

#include "document/MeasureData.h"
#include "document/MeasureKind.h"
#include "image/PixelGeometry.h"
#include "measure/RulerCalibration.h"

#include <array>
#include <span>
#include <string_view>

namespace halvera {

// The real-unit values of measured items, from their image pixel
// coordinates (whole or sub-pixel; a whole pixel gives exactly the value of
// the same position in sub-pixels) and a scale. Angles are in degrees, counted counter-clockwise
// on screen from the positive x axis (the y difference is negated), and
// normalised into [0, 360) by adding 360 to a negative one; they are never
// scaled.

struct PointValues {
    double X, Y;
};
struct LineValues {
    double Length, Angle, Xs, Ys, Xm, Ym, Xe, Ye, DX, DY;
};
struct CircleValues {
    double CenterX, CenterY, Radius, Diameter, Area, Perimeter;
};
// Width is the larger of the two sides, Height the smaller.
struct RectangleValues {
    double Width, Height, Area, Perimeter, CenterX, CenterY;
};
// Angle1: direction from V to B; Angle2: direction from V to A; Angle: the
// counter-clockwise turn from arm V-B to arm V-A.
struct AngleValues {
    double Angle1, Angle2, Angle, X1, Y1, X, Y, X2, Y2;
};

PointValues MeasureSubPixelPoint(SubPixelPoint p, MeasureScale scale);
double MeasureSubPixelPair(SubPixelPoint pi, SubPixelPoint pj, MeasureScale scale);
LineValues MeasureSubPixelLine(SubPixelPoint start, SubPixelPoint end, MeasureScale scale);
CircleValues MeasureSubPixelCircle(SubPixelPoint centre, SubPixelPoint onCircle,
                                   MeasureScale scale);
AngleValues MeasureSubPixelAngle(SubPixelPoint a, SubPixelPoint vertex, SubPixelPoint b,
                                 MeasureScale scale);

PointValues MeasurePoint(PixelPoint p, MeasureScale scale);
double MeasurePointPair(PixelPoint pi, PixelPoint pj, MeasureScale scale);
LineValues MeasureLine(PixelPoint start, PixelPoint end, MeasureScale scale);
CircleValues MeasureCircle(PixelPoint centre, PixelPoint onCircle, MeasureScale scale);
RectangleValues MeasureRectangle(PixelRect rectangle, MeasureScale scale);
AngleValues MeasureAngle(PixelPoint a, PixelPoint vertex, PixelPoint b, MeasureScale scale);

// The values of one item as the results list shows them: at most ten, in the
// order of its columns.
inline constexpr int kMaxMeasureValues = 10;
struct MeasureRow {
    int count = 0;
    std::array<double, kMaxMeasureValues> values{};
};

// The value names of a kind in column order (point X Y; line Length Angle Xs
// Ys Xm Ym Xe Ye DX DY; circle CenterX CenterY Radius Diameter Area
// Perimeter; rectangle Width Height Area Perimeter CenterX CenterY; angle
// Angle1 Angle2 Angle X1 Y1 X Y X2 Y2).
std::span<const std::string_view> MeasureValueNames(MeasureKind kind);
// The values of item `item` of `kind` (which must exist) in that order, from
// its sub-pixel elements.
MeasureRow MeasureItemRow(const MeasureData& data, MeasureKind kind, int item, MeasureScale scale);

} // namespace halvera
