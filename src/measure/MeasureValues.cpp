#include "measure/MeasureValues.h"

#include <cmath>
#include <numbers>

namespace halvera {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// Direction of (dx, dy) on screen in degrees, y pointing down; in (-180, 180].
// The differences are integers, so no negative zero reaches atan2.
double ScreenDirection(int64_t dx, int64_t dy) {
    return std::atan2(static_cast<double>(-dy), static_cast<double>(dx)) * kDegreesPerRadian;
}

double Normalised(double degrees) {
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

double ScaledLength(int64_t dx, int64_t dy, MeasureScale scale) {
    const double x = static_cast<double>(dx) * scale.x;
    const double y = static_cast<double>(dy) * scale.y;
    return std::sqrt(x * x + y * y);
}

int64_t Difference(int32_t to, int32_t from) {
    return int64_t{to} - from;
}

constexpr std::string_view kPointNames[] = {"X", "Y"};
constexpr std::string_view kLineNames[] = {"Length", "Angle", "Xs", "Ys", "Xm",
                                           "Ym",     "Xe",    "Ye", "DX", "DY"};
constexpr std::string_view kCircleNames[] = {"CenterX",  "CenterY", "Radius",
                                             "Diameter", "Area",    "Perimeter"};
constexpr std::string_view kRectangleNames[] = {"Width",     "Height",  "Area",
                                                "Perimeter", "CenterX", "CenterY"};
constexpr std::string_view kAngleNames[] = {"Angle1", "Angle2", "Angle", "X1", "Y1",
                                            "X",      "Y",      "X2",    "Y2"};

template <size_t N> MeasureRow RowOf(const std::array<double, N>& values) {
    MeasureRow row;
    row.count = static_cast<int>(N);
    std::copy(values.begin(), values.end(), row.values.begin());
    return row;
}

} // namespace

PointValues MeasurePoint(PixelPoint p, MeasureScale scale) {
    return {p.x * scale.x, p.y * scale.y};
}

double MeasurePointPair(PixelPoint pi, PixelPoint pj, MeasureScale scale) {
    return ScaledLength(Difference(pi.x, pj.x), Difference(pi.y, pj.y), scale);
}

LineValues MeasureLine(PixelPoint start, PixelPoint end, MeasureScale scale) {
    const int64_t dx = Difference(end.x, start.x);
    const int64_t dy = Difference(end.y, start.y);
    LineValues v;
    v.Length = ScaledLength(dx, dy, scale);
    v.Angle = Normalised(ScreenDirection(dx, dy));
    v.Xs = start.x * scale.x;
    v.Ys = start.y * scale.y;
    v.Xm = (static_cast<double>(start.x) + end.x) * scale.x * 0.5;
    v.Ym = (static_cast<double>(start.y) + end.y) * scale.y * 0.5;
    v.Xe = end.x * scale.x;
    v.Ye = end.y * scale.y;
    v.DX = static_cast<double>(dx) * scale.x;
    v.DY = static_cast<double>(dy) * scale.y;
    return v;
}

CircleValues MeasureCircle(PixelPoint centre, PixelPoint onCircle, MeasureScale scale) {
    const double r =
        ScaledLength(Difference(onCircle.x, centre.x), Difference(onCircle.y, centre.y), scale);
    return {centre.x * scale.x,       centre.y * scale.y,        r, 2.0 * r,
            std::numbers::pi * r * r, 2.0 * std::numbers::pi * r};
}

RectangleValues MeasureRectangle(PixelRect rectangle, MeasureScale scale) {
    const double w = static_cast<double>(Difference(rectangle.right, rectangle.left)) * scale.x;
    const double h = static_cast<double>(Difference(rectangle.bottom, rectangle.top)) * scale.y;
    return {std::max(w, h),
            std::min(w, h),
            w * h,
            (w + h) * 2.0,
            (static_cast<double>(rectangle.left) + rectangle.right) * scale.x * 0.5,
            (static_cast<double>(rectangle.top) + rectangle.bottom) * scale.y * 0.5};
}

AngleValues MeasureAngle(PixelPoint a, PixelPoint vertex, PixelPoint b, MeasureScale scale) {
    const double toB = ScreenDirection(Difference(b.x, vertex.x), Difference(b.y, vertex.y));
    const double toA = ScreenDirection(Difference(a.x, vertex.x), Difference(a.y, vertex.y));
    return {Normalised(toB),    Normalised(toA), Normalised(toA - toB),
            a.x * scale.x,      a.y * scale.y,   vertex.x * scale.x,
            vertex.y * scale.y, b.x * scale.x,   b.y * scale.y};
}

std::span<const std::string_view> MeasureValueNames(MeasureKind kind) {
    switch (kind) {
    case MeasureKind::Point:
        return kPointNames;
    case MeasureKind::Line:
        return kLineNames;
    case MeasureKind::Circle:
        return kCircleNames;
    case MeasureKind::Rectangle:
        return kRectangleNames;
    case MeasureKind::Angle:
        return kAngleNames;
    }
    return {};
}

MeasureRow MeasureItemRow(const MeasureData& data, MeasureKind kind, int item, MeasureScale scale) {
    const size_t i = static_cast<size_t>(item);
    switch (kind) {
    case MeasureKind::Point: {
        const PointValues v = MeasurePoint(data.points()[i], scale);
        return RowOf(std::array{v.X, v.Y});
    }
    case MeasureKind::Line: {
        const LineValues v = MeasureLine(data.lines()[2 * i], data.lines()[2 * i + 1], scale);
        return RowOf(std::array{v.Length, v.Angle, v.Xs, v.Ys, v.Xm, v.Ym, v.Xe, v.Ye, v.DX, v.DY});
    }
    case MeasureKind::Circle: {
        const CircleValues v =
            MeasureCircle(data.circles()[2 * i], data.circles()[2 * i + 1], scale);
        return RowOf(std::array{v.CenterX, v.CenterY, v.Radius, v.Diameter, v.Area, v.Perimeter});
    }
    case MeasureKind::Rectangle: {
        const RectangleValues v = MeasureRectangle(data.rectangles()[i], scale);
        return RowOf(std::array{v.Width, v.Height, v.Area, v.Perimeter, v.CenterX, v.CenterY});
    }
    case MeasureKind::Angle: {
        const auto angles = data.angles();
        const AngleValues v =
            MeasureAngle(angles[3 * i], angles[3 * i + 1], angles[3 * i + 2], scale);
        return RowOf(std::array{v.Angle1, v.Angle2, v.Angle, v.X1, v.Y1, v.X, v.Y, v.X2, v.Y2});
    }
    }
    return {};
}

} // namespace halvera
