#include "measure/MeasureLabels.h"

#include "measure/MeasureNumber.h"
#include "measure/MeasureValues.h"

#include <cmath>
#include <numbers>

namespace halvera {

namespace {

constexpr std::string_view kDegreeSign = "\xC2\xB0"; // U+00B0 in UTF-8
constexpr int kAngleLabelDistance = 30;

std::string InParentheses(double value) {
    return "(" + FormatMeasureValue(value) + ")";
}

// The middle of a and b as the labels take it: b + (a - b) / 2, truncating.
int32_t Middle(int32_t a, int32_t b) {
    return static_cast<int32_t>(int64_t{b} + (int64_t{a} - b) / 2);
}

} // namespace

MeasureLabel PointLabel(PixelPoint p, MeasureScale scale, const ImageToWindowMap& toWindow) {
    const PointValues v = MeasurePoint(p, scale);
    const PixelPoint w = toWindow(p);
    return {{w.x, w.y - 18}, "(" + FormatMeasureValue(v.X) + ", " + FormatMeasureValue(v.Y) + ")"};
}

MeasureLabel PointPairLabel(PixelPoint pi, PixelPoint pj, MeasureScale scale,
                            const ImageToWindowMap& toWindow) {
    const PixelPoint wi = toWindow(pi);
    const PixelPoint wj = toWindow(pj);
    return {{Middle(wi.x, wj.x), Middle(wi.y, wj.y) - 16},
            InParentheses(MeasurePointPair(pi, pj, scale))};
}

MeasureLabel LineLabel(PixelPoint start, PixelPoint end, MeasureScale scale,
                       const ImageToWindowMap& toWindow) {
    const PixelPoint s = toWindow(start);
    const PixelPoint e = toWindow(end);
    return {{Middle(s.x, e.x), Middle(s.y, e.y) - 16},
            InParentheses(MeasureLine(start, end, scale).Length)};
}

MeasureLabel CircleLabel(PixelPoint centre, PixelPoint onCircle, MeasureScale scale,
                         const ImageToWindowMap& toWindow) {
    const PixelPoint c = toWindow(centre);
    return {{c.x, c.y - 18}, InParentheses(MeasureCircle(centre, onCircle, scale).Area)};
}

MeasureLabel RectangleLabel(PixelRect rectangle, MeasureScale scale,
                            const ImageToWindowMap& toWindow) {
    const PixelPoint lt = toWindow({rectangle.left, rectangle.top});
    const PixelPoint rb = toWindow({rectangle.right, rectangle.bottom});
    const int32_t x = static_cast<int32_t>((int64_t{lt.x} + rb.x) / 2);
    const int32_t y = static_cast<int32_t>((int64_t{lt.y} + rb.y) / 2);
    return {{x, y - 8}, InParentheses(MeasureRectangle(rectangle, scale).Area)};
}

MeasureLabel AngleLabel(PixelPoint a, PixelPoint vertex, PixelPoint b, MeasureScale scale,
                        const ImageToWindowMap& toWindow) {
    const AngleValues v = MeasureAngle(a, vertex, b, scale);
    const double direction = (v.Angle1 + v.Angle * 2.0 / 3.0) * std::numbers::pi / 180.0;
    const PixelPoint w = toWindow(vertex);
    const PixelPoint at{w.x + static_cast<int32_t>(kAngleLabelDistance * std::cos(direction)),
                        w.y - static_cast<int32_t>(kAngleLabelDistance * std::sin(direction))};
    return {at, "(" + FormatMeasureValue(v.Angle) + std::string(kDegreeSign) + ")"};
}

std::string_view LabelledKindName(LabelledKind kind) {
    constexpr std::string_view kNames[] = {"pair", "point", "line", "circle", "rectangle", "angle"};
    return kNames[static_cast<int>(kind)];
}

std::vector<LabelledItem> MeasureLabels(const MeasureData& data, MeasureScale scale,
                                        const ImageToWindowMap& toWindow) {
    std::vector<LabelledItem> labels;
    const auto points = data.points();
    const auto pairs = data.pointPairs();
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const auto pi = static_cast<size_t>(pairs[i]);
        const auto pj = static_cast<size_t>(pairs[i + 1]);
        if (pi < points.size() && pj < points.size())
            labels.push_back(
                {LabelledKind::Pair, PointPairLabel(points[pi], points[pj], scale, toWindow)});
    }
    for (const PixelPoint p : points)
        labels.push_back({LabelledKind::Point, PointLabel(p, scale, toWindow)});
    const auto lines = data.lines();
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        labels.push_back({LabelledKind::Line, LineLabel(lines[i], lines[i + 1], scale, toWindow)});
    const auto circles = data.circles();
    for (size_t i = 0; i + 1 < circles.size(); i += 2)
        labels.push_back(
            {LabelledKind::Circle, CircleLabel(circles[i], circles[i + 1], scale, toWindow)});
    for (const PixelRect& r : data.rectangles())
        labels.push_back({LabelledKind::Rectangle, RectangleLabel(r, scale, toWindow)});
    const auto angles = data.angles();
    for (size_t i = 0; i + 2 < angles.size(); i += 3)
        labels.push_back({LabelledKind::Angle,
                          AngleLabel(angles[i], angles[i + 1], angles[i + 2], scale, toWindow)});
    return labels;
}

} // namespace halvera
