#include "measure/MeasureValues.h"

#include <cmath>
#include <numbers>

namespace halvera {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// Direction of (dx, dy) on screen in degrees, y pointing down; in (-180, 180].
// The y difference is negated as 0 - dy, so a zero difference stays +0 and a
// leftward line gives 180, never -180.
double ScreenDirection(double dx, double dy) {
    return std::atan2(0.0 - dy, dx) * kDegreesPerRadian;
}

double Normalised(double degrees) {
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

double ScaledLength(double dx, double dy, MeasureScale scale) {
    const double x = dx * scale.x;
    const double y = dy * scale.y;
    return std::sqrt(x * x + y * y);
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

PointValues MeasureSubPixelPoint(SubPixelPoint p, MeasureScale scale) {
    return {p.x * scale.x, p.y * scale.y};
}

double MeasureSubPixelPair(SubPixelPoint pi, SubPixelPoint pj, MeasureScale scale) {
    return ScaledLength(pi.x - pj.x, pi.y - pj.y, scale);
}

LineValues MeasureSubPixelLine(SubPixelPoint start, SubPixelPoint end, MeasureScale scale) {
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    LineValues v;
    v.Length = ScaledLength(dx, dy, scale);
    v.Angle = Normalised(ScreenDirection(dx, dy));
    v.Xs = start.x * scale.x;
    v.Ys = start.y * scale.y;
    v.Xm = (start.x + end.x) * scale.x * 0.5;
    v.Ym = (start.y + end.y) * scale.y * 0.5;
    v.Xe = end.x * scale.x;
    v.Ye = end.y * scale.y;
    v.DX = dx * scale.x;
    v.DY = dy * scale.y;
    return v;
}

CircleValues MeasureSubPixelCircle(SubPixelPoint centre, SubPixelPoint onCircle,
                                   MeasureScale scale) {
    const double r = ScaledLength(onCircle.x - centre.x, onCircle.y - centre.y, scale);
    return {centre.x * scale.x,       centre.y * scale.y,        r, 2.0 * r,
            std::numbers::pi * r * r, 2.0 * std::numbers::pi * r};
}

AngleValues MeasureSubPixelAngle(SubPixelPoint a, SubPixelPoint vertex, SubPixelPoint b,
                                 MeasureScale scale) {
    const double toB = ScreenDirection(b.x - vertex.x, b.y - vertex.y);
    const double toA = ScreenDirection(a.x - vertex.x, a.y - vertex.y);
    return {Normalised(toB),    Normalised(toA), Normalised(toA - toB),
            a.x * scale.x,      a.y * scale.y,   vertex.x * scale.x,
            vertex.y * scale.y, b.x * scale.x,   b.y * scale.y};
}

// Whole pixels are exact in a double, and so are their differences.
PointValues MeasurePoint(PixelPoint p, MeasureScale scale) {
    return MeasureSubPixelPoint(ExactPoint(p), scale);
}

double MeasurePointPair(PixelPoint pi, PixelPoint pj, MeasureScale scale) {
    return MeasureSubPixelPair(ExactPoint(pi), ExactPoint(pj), scale);
}

LineValues MeasureLine(PixelPoint start, PixelPoint end, MeasureScale scale) {
    return MeasureSubPixelLine(ExactPoint(start), ExactPoint(end), scale);
}

CircleValues MeasureCircle(PixelPoint centre, PixelPoint onCircle, MeasureScale scale) {
    return MeasureSubPixelCircle(ExactPoint(centre), ExactPoint(onCircle), scale);
}

RectangleValues MeasureRectangle(PixelRect rectangle, MeasureScale scale) {
    const double w = (static_cast<double>(rectangle.right) - rectangle.left) * scale.x;
    const double h = (static_cast<double>(rectangle.bottom) - rectangle.top) * scale.y;
    return {std::max(w, h),
            std::min(w, h),
            w * h,
            (w + h) * 2.0,
            (static_cast<double>(rectangle.left) + rectangle.right) * scale.x * 0.5,
            (static_cast<double>(rectangle.top) + rectangle.bottom) * scale.y * 0.5};
}

AngleValues MeasureAngle(PixelPoint a, PixelPoint vertex, PixelPoint b, MeasureScale scale) {
    return MeasureSubPixelAngle(ExactPoint(a), ExactPoint(vertex), ExactPoint(b), scale);
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
    const auto at = data.subPixel(kind);
    switch (kind) {
    case MeasureKind::Point: {
        const PointValues v = MeasureSubPixelPoint(at[i], scale);
        return RowOf(std::array{v.X, v.Y});
    }
    case MeasureKind::Line: {
        const LineValues v = MeasureSubPixelLine(at[2 * i], at[2 * i + 1], scale);
        return RowOf(std::array{v.Length, v.Angle, v.Xs, v.Ys, v.Xm, v.Ym, v.Xe, v.Ye, v.DX, v.DY});
    }
    case MeasureKind::Circle: {
        const CircleValues v = MeasureSubPixelCircle(at[2 * i], at[2 * i + 1], scale);
        return RowOf(std::array{v.CenterX, v.CenterY, v.Radius, v.Diameter, v.Area, v.Perimeter});
    }
    case MeasureKind::Rectangle: {
        const RectangleValues v = MeasureRectangle(data.rectangles()[i], scale);
        return RowOf(std::array{v.Width, v.Height, v.Area, v.Perimeter, v.CenterX, v.CenterY});
    }
    case MeasureKind::Angle: {
        const AngleValues v = MeasureSubPixelAngle(at[3 * i], at[3 * i + 1], at[3 * i + 2], scale);
        return RowOf(std::array{v.Angle1, v.Angle2, v.Angle, v.X1, v.Y1, v.X, v.Y, v.X2, v.Y2});
    }
    }
    return {};
}

} // namespace halvera
