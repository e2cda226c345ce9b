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

// Each label from the values of its item and the whole pixels it is placed by.

MeasureLabel PointLabelOf(const PointValues& v, PixelPoint p, const ImageToWindowMap& toWindow) {
    const PixelPoint w = toWindow(p);
    return {{w.x, w.y - 18}, "(" + FormatMeasureValue(v.X) + ", " + FormatMeasureValue(v.Y) + ")"};
}

MeasureLabel PairLabelOf(double length, PixelPoint pi, PixelPoint pj,
                         const ImageToWindowMap& toWindow) {
    const PixelPoint wi = toWindow(pi);
    const PixelPoint wj = toWindow(pj);
    return {{Middle(wi.x, wj.x), Middle(wi.y, wj.y) - 16}, InParentheses(length)};
}

MeasureLabel LineLabelOf(const LineValues& v, PixelPoint start, PixelPoint end,
                         const ImageToWindowMap& toWindow) {
    const PixelPoint s = toWindow(start);
    const PixelPoint e = toWindow(end);
    return {{Middle(s.x, e.x), Middle(s.y, e.y) - 16}, InParentheses(v.Length)};
}

MeasureLabel CircleLabelOf(const CircleValues& v, PixelPoint centre,
                           const ImageToWindowMap& toWindow) {
    const PixelPoint c = toWindow(centre);
    return {{c.x, c.y - 18}, InParentheses(v.Area)};
}

MeasureLabel AngleLabelOf(const AngleValues& v, PixelPoint vertex,
                          const ImageToWindowMap& toWindow) {
    const double direction = (v.Angle1 + v.Angle * 2.0 / 3.0) * std::numbers::pi / 180.0;
    const PixelPoint w = toWindow(vertex);
    const PixelPoint at{w.x + static_cast<int32_t>(kAngleLabelDistance * std::cos(direction)),
                        w.y - static_cast<int32_t>(kAngleLabelDistance * std::sin(direction))};
    return {at, "(" + FormatMeasureValue(v.Angle) + std::string(kDegreeSign) + ")"};
}

} // namespace

MeasureLabel PointLabel(PixelPoint p, MeasureScale scale, const ImageToWindowMap& toWindow) {
    return PointLabelOf(MeasurePoint(p, scale), p, toWindow);
}

MeasureLabel PointPairLabel(PixelPoint pi, PixelPoint pj, MeasureScale scale,
                            const ImageToWindowMap& toWindow) {
    return PairLabelOf(MeasurePointPair(pi, pj, scale), pi, pj, toWindow);
}

MeasureLabel LineLabel(PixelPoint start, PixelPoint end, MeasureScale scale,
                       const ImageToWindowMap& toWindow) {
    return LineLabelOf(MeasureLine(start, end, scale), start, end, toWindow);
}

MeasureLabel CircleLabel(PixelPoint centre, PixelPoint onCircle, MeasureScale scale,
                         const ImageToWindowMap& toWindow) {
    return CircleLabelOf(MeasureCircle(centre, onCircle, scale), centre, toWindow);
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
    return AngleLabelOf(MeasureAngle(a, vertex, b, scale), vertex, toWindow);
}

std::string_view LabelledKindName(LabelledKind kind) {
    constexpr std::string_view kNames[] = {"pair", "point", "line", "circle", "rectangle", "angle"};
    return kNames[static_cast<int>(kind)];
}

MeasureLabel StoredItemLabel(const MeasureData& data, LabelledKind kind, int item,
                             MeasureScale scale, const ImageToWindowMap& toWindow) {
    const auto i = static_cast<size_t>(item);
    switch (kind) {
    case LabelledKind::Pair: {
        const auto pi = static_cast<size_t>(data.pointPairs()[2 * i]);
        const auto pj = static_cast<size_t>(data.pointPairs()[2 * i + 1]);
        const auto exact = data.subPixel(MeasureKind::Point);
        return PairLabelOf(MeasureSubPixelPair(exact[pi], exact[pj], scale), data.points()[pi],
                           data.points()[pj], toWindow);
    }
    case LabelledKind::Point:
        return PointLabelOf(MeasureSubPixelPoint(data.subPixel(MeasureKind::Point)[i], scale),
                            data.points()[i], toWindow);
    case LabelledKind::Line: {
        const auto exact = data.subPixel(MeasureKind::Line);
        return LineLabelOf(MeasureSubPixelLine(exact[2 * i], exact[2 * i + 1], scale),
                           data.lines()[2 * i], data.lines()[2 * i + 1], toWindow);
    }
    case LabelledKind::Circle: {
        const auto exact = data.subPixel(MeasureKind::Circle);
        return CircleLabelOf(MeasureSubPixelCircle(exact[2 * i], exact[2 * i + 1], scale),
                             data.circles()[2 * i], toWindow);
    }
    case LabelledKind::Rectangle:
        return RectangleLabel(data.rectangles()[i], scale, toWindow);
    case LabelledKind::Angle: {
        const auto exact = data.subPixel(MeasureKind::Angle);
        return AngleLabelOf(
            MeasureSubPixelAngle(exact[3 * i], exact[3 * i + 1], exact[3 * i + 2], scale),
            data.angles()[3 * i + 1], toWindow);
    }
    }
    return {};
}

std::vector<LabelledItem> MeasureLabels(const MeasureData& data, MeasureScale scale,
                                        const ImageToWindowMap& toWindow) {
    std::vector<LabelledItem> labels;
    const auto points = data.points();
    const auto pairs = data.pointPairs();
    for (int pair = 0; pair < data.PointPairCount(); ++pair) {
        const auto pi = static_cast<size_t>(pairs[2 * static_cast<size_t>(pair)]);
        const auto pj = static_cast<size_t>(pairs[2 * static_cast<size_t>(pair) + 1]);
        if (pi < points.size() && pj < points.size())
            labels.push_back({LabelledKind::Pair,
                              StoredItemLabel(data, LabelledKind::Pair, pair, scale, toWindow)});
    }
    constexpr std::pair<LabelledKind, MeasureKind> kItemKinds[] = {
        {LabelledKind::Point, MeasureKind::Point},
        {LabelledKind::Line, MeasureKind::Line},
        {LabelledKind::Circle, MeasureKind::Circle},
        {LabelledKind::Rectangle, MeasureKind::Rectangle},
        {LabelledKind::Angle, MeasureKind::Angle}};
    for (const auto& [labelled, kind] : kItemKinds)
        for (int item = 0; item < data.ItemCount(kind); ++item)
            labels.push_back({labelled, StoredItemLabel(data, labelled, item, scale, toWindow)});
    return labels;
}

} // namespace halvera
