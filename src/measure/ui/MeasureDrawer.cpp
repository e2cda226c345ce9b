#include "measure/ui/MeasureDrawer.h"

#include "document/MavDoc.h"
#include "measure/BresenhamLine.h"
#include "measure/LabelOutline.h"
#include "measure/LineGuides.h"
#include "measure/MeasureResultsPanel.h"
#include "measure/MeasureValues.h"
#include "measure/ResultRows.h"
#include "measure/ui/MeasureTool.h"
#include "view/ui/MavView.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <numbers>
#include <optional>

namespace halvera {

namespace {

QColor ToQColor(const MeasureColor& c) {
    return QColor(c.red, c.green, c.blue);
}

QColor ColourOf(const AppSettings& settings, MeasureColorRole role) {
    return ToQColor(MeasureColorOf(settings, role));
}

const ToleranceTable* PanelJudging() {
    const MeasureResultsPanel* panel = ResultsPanel();
    return panel ? panel->ErrorJudging() : nullptr;
}

// The results tab of a labelled kind; a point pair has none, so it is never judged.
std::optional<MeasureKind> ResultsTabOf(LabelledKind kind) {
    switch (kind) {
    case LabelledKind::Point:
        return MeasureKind::Point;
    case LabelledKind::Line:
        return MeasureKind::Line;
    case LabelledKind::Circle:
        return MeasureKind::Circle;
    case LabelledKind::Rectangle:
        return MeasureKind::Rectangle;
    case LabelledKind::Angle:
        return MeasureKind::Angle;
    case LabelledKind::Pair:
        break;
    }
    return std::nullopt;
}

QPoint ToQPoint(PixelPoint p) {
    return QPoint(p.x, p.y);
}

// The point-pattern offsets of a measured point's ring and of the three point
// circle's click marker (the same ring without the axis ticks).
const QPolygon& RingTicks() {
    static const QPolygon ticks({QPoint(-4, 0), QPoint(4, 0), QPoint(-5, 0), QPoint(5, 0),
                                 QPoint(-6, 0), QPoint(6, 0), QPoint(0, -4), QPoint(0, 4),
                                 QPoint(0, -5), QPoint(0, 5), QPoint(0, -6), QPoint(0, 6)});
    return ticks;
}

const QPolygon& Ring() {
    static const QPolygon ring({QPoint(-2, -2), QPoint(2, -2), QPoint(-2, 2), QPoint(2, 2),
                                QPoint(-1, -3), QPoint(0, -3), QPoint(1, -3), QPoint(-1, 3),
                                QPoint(0, 3), QPoint(1, 3), QPoint(-3, -1), QPoint(-3, 0),
                                QPoint(-3, 1), QPoint(3, -1), QPoint(3, 0), QPoint(3, 1)});
    return ring;
}

QPolygon Translated(const QPolygon& pattern, PixelPoint at) {
    return pattern.translated(at.x, at.y);
}

constexpr int kArcRadius = 20;
constexpr double kArcStepDegrees = 4.0;

} // namespace

QFont MeasureLabelFont() {
    const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                               ? QStringLiteral("Arial")
                               : QStringLiteral("Liberation Sans");
    QFont font(family);
    font.setPointSize(8);
    return font;
}

CMeasureDrawer::CMeasureDrawer(CMavView& view, QPainter& painter)
    : view_(view), painter_(painter),
      scale_(RulerCalibration::CurrentScale(view.document().settings())),
      toWindow_([&view](PixelPoint p) {
          const QPoint w = view.imageToWindow(QPoint(p.x, p.y));
          return PixelPoint{w.x(), w.y()};
      }),
      judging_(PanelJudging()) {
    const AppSettings& settings = view.document().settings();
    coordinate_ = ColourOf(settings, MeasureColorRole::Coordinate);
    line_ = ColourOf(settings, MeasureColorRole::Line);
    point_ = ColourOf(settings, MeasureColorRole::Point);
    text_ = ColourOf(settings, MeasureColorRole::Text);
    error_ = ToQColor(MeasureErrorColorOf(settings));
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
    painter_.setFont(MeasureLabelFont());
}

CMeasureDrawer::~CMeasureDrawer() {
    painter_.restore();
}

PixelPoint CMeasureDrawer::toWindow(PixelPoint image) const {
    return toWindow_(image);
}

void CMeasureDrawer::DrawAll(const MeasureData& data) {
    const auto points = data.points();
    const auto pairs = data.pointPairs();
    const auto label = [&](LabelledKind kind, int item) {
        drawLabel(StoredItemLabel(data, kind, item, scale_, toWindow_),
                  storedItemLabelColour(data, kind, item));
    };
    for (int pair = 0; pair < data.PointPairCount(); ++pair) {
        const auto pi = static_cast<size_t>(pairs[2 * static_cast<size_t>(pair)]);
        const auto pj = static_cast<size_t>(pairs[2 * static_cast<size_t>(pair) + 1]);
        if (pi < points.size() && pj < points.size()) {
            pointPairShape(points[pi], points[pj]);
            label(LabelledKind::Pair, pair);
        }
    }
    for (size_t i = 0; i < points.size(); ++i) {
        pointShape(points[i]);
        label(LabelledKind::Point, static_cast<int>(i));
    }
    const auto lines = data.lines();
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        lineShape(lines[i], lines[i + 1]);
        label(LabelledKind::Line, static_cast<int>(i / 2));
    }
    const auto circles = data.circles();
    for (size_t i = 0; i + 1 < circles.size(); i += 2) {
        circleShape(circles[i], circles[i + 1]);
        label(LabelledKind::Circle, static_cast<int>(i / 2));
    }
    const auto rectangles = data.rectangles();
    for (size_t i = 0; i < rectangles.size(); ++i) {
        rectangleShape(rectangles[i]);
        label(LabelledKind::Rectangle, static_cast<int>(i));
    }
    const auto angles = data.angles();
    for (size_t i = 0; i + 2 < angles.size(); i += 3) {
        angleShape(angles[i], angles[i + 1], angles[i + 2]);
        label(LabelledKind::Angle, static_cast<int>(i / 3));
    }
}

void CMeasureDrawer::DrawPointPair(PixelPoint pi, PixelPoint pj) {
    pointPairShape(pi, pj);
    drawLabel(PointPairLabel(pi, pj, scale_, toWindow_));
}

void CMeasureDrawer::DrawPoint(PixelPoint p) {
    pointShape(p);
    drawLabel(PointLabel(p, scale_, toWindow_));
}

void CMeasureDrawer::DrawLine(PixelPoint start, PixelPoint end) {
    lineShape(start, end);
    drawLabel(LineLabel(start, end, scale_, toWindow_));
}

void CMeasureDrawer::DrawCircle(PixelPoint centre, PixelPoint onCircle) {
    circleShape(centre, onCircle);
    drawLabel(CircleLabel(centre, onCircle, scale_, toWindow_));
}

void CMeasureDrawer::DrawRectangle(PixelRect rectangle) {
    rectangleShape(rectangle);
    drawLabel(RectangleLabel(rectangle, scale_, toWindow_));
}

void CMeasureDrawer::DrawAngle(PixelPoint a, PixelPoint vertex, PixelPoint b) {
    angleShape(a, vertex, b);
    drawLabel(AngleLabel(a, vertex, b, scale_, toWindow_));
}

void CMeasureDrawer::pointPairShape(PixelPoint pi, PixelPoint pj) {
    penLine(line_, toWindow(pi), toWindow(pj));
}

void CMeasureDrawer::pointShape(PixelPoint p) {
    const PixelPoint w = toWindow(p);
    QPolygon ring = Translated(RingTicks(), w);
    ring << Translated(Ring(), w);
    setPixels(point_, ring);
    QPolygon cross;
    for (int d = -2; d <= 2; ++d)
        cross << QPoint(w.x + d, w.y) << QPoint(w.x, w.y + d);
    setPixels(coordinate_, cross);
}

void CMeasureDrawer::lineShape(PixelPoint start, PixelPoint end) {
    const PixelPoint s = toWindow(start);
    const PixelPoint e = toWindow(end);
    walkLine(line_, s, e);
    square(s);
    square(e);
    largeCross(s);
    largeCross(e);
}

void CMeasureDrawer::circleShape(PixelPoint centre, PixelPoint onCircle) {
    const PixelPoint c = toWindow(centre);
    const PixelPoint q = toWindow(onCircle);
    const double dx = q.x - c.x;
    const double dy = q.y - c.y;
    const int radius = static_cast<int>(std::sqrt(dx * dx + dy * dy));
    painter_.setPen(QPen(line_, 0));
    painter_.drawEllipse(QRect(c.x - radius, c.y - radius, 2 * radius, 2 * radius));
    square(c);
    square(q);
    smallCross(c);
    smallCross(q);
}

void CMeasureDrawer::rectangleShape(PixelRect rectangle) {
    const PixelPoint corners[] = {toWindow({rectangle.left, rectangle.top}),
                                  toWindow({rectangle.right, rectangle.top}),
                                  toWindow({rectangle.right, rectangle.bottom}),
                                  toWindow({rectangle.left, rectangle.bottom})};
    for (int i = 0; i < 4; ++i)
        walkLine(line_, corners[i], corners[(i + 1) % 4]);
    for (const PixelPoint corner : corners) {
        square(corner);
        smallCross(corner);
    }
}

void CMeasureDrawer::angleShape(PixelPoint a, PixelPoint vertex, PixelPoint b) {
    const PixelPoint wa = toWindow(a);
    const PixelPoint wv = toWindow(vertex);
    const PixelPoint wb = toWindow(b);
    walkLine(line_, wa, wv);
    walkLine(line_, wv, wb);

    const AngleValues values = MeasureAngle(a, vertex, b, scale_);
    QPolygon arc;
    for (int k = 0; k * kArcStepDegrees < values.Angle; ++k) {
        const double radians = (values.Angle1 + k * kArcStepDegrees) * std::numbers::pi / 180.0;
        arc << QPoint(wv.x + static_cast<int>(kArcRadius * std::cos(radians)),
                      wv.y - static_cast<int>(kArcRadius * std::sin(radians)));
    }
    painter_.setPen(QPen(point_, 0));
    if (arc.size() > 1)
        painter_.drawPolyline(arc);
    for (const PixelPoint p : {wa, wv, wb}) {
        square(p);
        fullCross(p);
    }
}

void CMeasureDrawer::DrawLineGuides(PixelPoint start, PixelPoint end, int length) {
    const PixelPoint s = toWindow(start);
    const PixelPoint e = toWindow(end);
    painter_.setPen(QPen(line_, 0));
    painter_.drawLine(ToQPoint(s), ToQPoint(e));
    const PixelPoint offset = LineGuideOffset(s, e, length);
    if (offset == PixelPoint{})
        return;
    for (const PixelPoint end : {s, e})
        painter_.drawLine(QPoint(end.x - offset.x, end.y - offset.y),
                          QPoint(end.x + offset.x, end.y + offset.y));
}

void CMeasureDrawer::DrawLineLabel(PixelPoint start, PixelPoint end) {
    drawLabel(LineLabel(start, end, scale_, toWindow_));
}

void CMeasureDrawer::DrawCircleLabel(PixelPoint centre, PixelPoint onCircle) {
    drawLabel(CircleLabel(centre, onCircle, scale_, toWindow_));
}

void CMeasureDrawer::DrawRectangleLabel(PixelRect rectangle) {
    drawLabel(RectangleLabel(rectangle, scale_, toWindow_));
}

void CMeasureDrawer::DrawClickMarker(PixelPoint p) {
    const PixelPoint w = toWindow(p);
    setPixels(point_, Translated(Ring(), w));
    fullCross(w);
}

const QColor& CMeasureDrawer::storedItemLabelColour(const MeasureData& data, LabelledKind kind,
                                                    int item) const {
    const std::optional<MeasureKind> tab = ResultsTabOf(kind);
    if (!judging_ || !tab)
        return text_;
    const ResultJudging judging{scale_, *judging_, true};
    return ItemJudgedError(data, *tab, item, judging) ? error_ : text_;
}

void CMeasureDrawer::drawLabel(const MeasureLabel& label, const QColor& colour) {
    const QString text =
        QString::fromUtf8(label.text.data(), static_cast<qsizetype>(label.text.size()));
    // Top-left corner at the position; no background behind the text, only
    // its outline in the opposite colour.
    const auto draw = [&](int x, int y) {
        painter_.drawText(QRect(x, y, 1000, 100),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                          text);
    };
    const GraphColour outline = LabelOutlineColour({static_cast<uint8_t>(colour.red()),
                                                    static_cast<uint8_t>(colour.green()),
                                                    static_cast<uint8_t>(colour.blue())});
    painter_.setPen(QColor(outline.red, outline.green, outline.blue));
    for (const PixelPoint d : kLabelOutlineOffsets)
        draw(label.position.x + d.x, label.position.y + d.y);
    painter_.setPen(colour);
    draw(label.position.x, label.position.y);
}

void CMeasureDrawer::setPixels(const QColor& colour, const QPolygon& pixels) {
    painter_.setPen(QPen(colour, 0));
    painter_.drawPoints(pixels);
}

void CMeasureDrawer::walkLine(const QColor& colour, PixelPoint from, PixelPoint to) {
    QPolygon pixels;
    ForEachLinePixel(from, to, [&](PixelPoint p) { pixels << QPoint(p.x, p.y); });
    setPixels(colour, pixels);
}

void CMeasureDrawer::penLine(const QColor& colour, PixelPoint from, PixelPoint to) {
    QPolygon pixels;
    ForEachLinePixel(from, to, [&](PixelPoint p) { pixels << QPoint(p.x, p.y); });
    if (!pixels.isEmpty() && from != to)
        pixels.removeLast();
    setPixels(colour, pixels);
}

void CMeasureDrawer::square(PixelPoint at) {
    painter_.setPen(QPen(point_, 0));
    painter_.drawRect(QRect(at.x - 3, at.y - 3, 6, 6));
}

// From (x, y - 3) to (x, y + 4) and (x - 3, y) to (x + 4, y) as pen lines.
void CMeasureDrawer::smallCross(PixelPoint at) {
    penLine(coordinate_, {at.x, at.y - 3}, {at.x, at.y + 4});
    penLine(coordinate_, {at.x - 3, at.y}, {at.x + 4, at.y});
}

// From (x, y - 6) to (x, y + 6) and (x - 6, y) to (x + 6, y) as pen lines.
void CMeasureDrawer::largeCross(PixelPoint at) {
    penLine(coordinate_, {at.x, at.y - 6}, {at.x, at.y + 6});
    penLine(coordinate_, {at.x - 6, at.y}, {at.x + 6, at.y});
}

// Thirteen pixels, -6..+6, along each axis.
void CMeasureDrawer::fullCross(PixelPoint at) {
    QPolygon cross;
    for (int d = -6; d <= 6; ++d)
        cross << QPoint(at.x + d, at.y) << QPoint(at.x, at.y + d);
    setPixels(coordinate_, cross);
}

} // namespace halvera
