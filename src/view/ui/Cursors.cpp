#include "view/ui/Cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>
#include <map>
#include <numbers>

namespace halvera {

namespace {

constexpr int kSize = 32;
// Pixel centres: one-pixel lines through them stay sharp.
constexpr QPointF kCentre(16.5, 16.5);

constexpr std::array kAllIds = {
    CursorId::Magnifier,      CursorId::RoiCut,         CursorId::LineMeasure,
    CursorId::Measure,        CursorId::ZoomIn,         CursorId::ZoomOut,
    CursorId::ZoomLimit,      CursorId::Eyedropper,     CursorId::Lasso,
    CursorId::MarqueeAdd,     CursorId::LassoSubtract,  CursorId::MarqueeSubtract,
    CursorId::Move,           CursorId::Pencil,         CursorId::Adjust,
    CursorId::Fill,           CursorId::RotateUpRight,  CursorId::RotateFree,
    CursorId::Calibration,    CursorId::RotateDownLeft, CursorId::RotateDownRight,
    CursorId::RotateLeft,     CursorId::RotateRight,    CursorId::RotateUp,
    CursorId::RotateUpLeft,   CursorId::RotateDown,     CursorId::ResizeRising,
    CursorId::ResizeVertical, CursorId::ResizeFalling,  CursorId::ResizeHorizontal,
    CursorId::ResizeCorner,   CursorId::TextPlace,
};

// Octant k of the rotate tools (counter-clockwise from +x) to its cursor.
constexpr std::array kRotateByOctant = {
    CursorId::RotateRight,  CursorId::RotateUpRight,   CursorId::RotateUp,
    CursorId::RotateUpLeft, CursorId::RotateLeft,      CursorId::RotateDownLeft,
    CursorId::RotateDown,   CursorId::RotateDownRight,
};

// Line art is stroked twice: a white halo three pixels wide, then the black
// line, so a cursor stays visible over dark and light images alike.
void StrokeWithHalo(QPainter& painter, const QPainterPath& path, qreal width = 1.0) {
    painter.strokePath(path,
                       QPen(Qt::white, width + 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.strokePath(path, QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Solid shapes are white with a black outline.
void FillOutlined(QPainter& painter, const QPainterPath& path, QColor fill = Qt::white) {
    painter.fillPath(path, fill);
    painter.strokePath(path, QPen(Qt::black, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

QPainterPath Segment(QPointF from, QPointF to) {
    QPainterPath path;
    path.moveTo(from);
    path.lineTo(to);
    return path;
}

QPointF Direction(qreal degrees) {
    // Counter-clockwise with y up; the screen's y runs down.
    const qreal radians = degrees * std::numbers::pi / 180.0;
    return {std::cos(radians), -std::sin(radians)};
}

// A filled arrow head with its tip at `tip`, pointing along `direction`.
QPainterPath ArrowHead(QPointF tip, QPointF direction, qreal length = 6.0, qreal halfWidth = 4.0) {
    const QPointF back = tip - direction * length;
    const QPointF across(-direction.y(), direction.x());
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(back + across * halfWidth);
    path.lineTo(back - across * halfWidth);
    path.closeSubpath();
    return path;
}

// A double-headed arrow through the centre at `degrees`.
void DrawResizeArrow(QPainter& painter, qreal degrees, qreal halfLength = 13.0) {
    const QPointF direction = Direction(degrees);
    const QPointF a = kCentre + direction * halfLength;
    const QPointF b = kCentre - direction * halfLength;
    StrokeWithHalo(painter, Segment(a - direction * 4.0, b + direction * 4.0), 2.0);
    FillOutlined(painter, ArrowHead(a, direction), Qt::black);
    FillOutlined(painter, ArrowHead(b, -direction), Qt::black);
}

void DrawCrosshair(QPainter& painter, qreal halfLength, qreal gap) {
    QPainterPath path;
    path.moveTo(kCentre.x(), kCentre.y() - halfLength);
    path.lineTo(kCentre.x(), kCentre.y() - gap);
    path.moveTo(kCentre.x(), kCentre.y() + gap);
    path.lineTo(kCentre.x(), kCentre.y() + halfLength);
    path.moveTo(kCentre.x() - halfLength, kCentre.y());
    path.lineTo(kCentre.x() - gap, kCentre.y());
    path.moveTo(kCentre.x() + gap, kCentre.y());
    path.lineTo(kCentre.x() + halfLength, kCentre.y());
    StrokeWithHalo(painter, path);
}

// A small minus sign in the lower right corner: "subtract from the selection".
void DrawMinusBadge(QPainter& painter) {
    QPainterPath box;
    box.addRect(QRectF(21.5, 23.5, 9, 5));
    FillOutlined(painter, box);
    painter.fillRect(QRectF(23, 25.5, 6, 1), Qt::black);
}

constexpr QPointF kLensCentre(12.5, 12.5);
constexpr qreal kLensRadius = 8.0;

// Hot spot of the magnifying glasses: the middle of the lens.
void DrawGlass(QPainter& painter, QColor lens) {
    QPainterPath handle = Segment(QPointF(19, 19), QPointF(28, 28));
    StrokeWithHalo(painter, handle, 3.0);
    QPainterPath circle;
    circle.addEllipse(kLensCentre, kLensRadius, kLensRadius);
    painter.fillPath(circle, lens);
    StrokeWithHalo(painter, circle, 1.5);
}

void DrawMagnifier(QPainter& painter) {
    DrawGlass(painter, QColor(200, 225, 255));
    QPainterPath glint;
    glint.arcMoveTo(QRectF(kLensCentre.x() - 5, kLensCentre.y() - 5, 10, 10), 100);
    glint.arcTo(QRectF(kLensCentre.x() - 5, kLensCentre.y() - 5, 10, 10), 100, 70);
    painter.strokePath(glint, QPen(Qt::white, 1.5));
}

void DrawZoomIn(QPainter& painter) {
    DrawGlass(painter, Qt::white);
    painter.fillRect(QRectF(9, 12, 7, 1.5), Qt::black);
    painter.fillRect(QRectF(11.75, 9.25, 1.5, 7), Qt::black);
}

void DrawZoomOut(QPainter& painter) {
    DrawGlass(painter, Qt::white);
    painter.fillRect(QRectF(9, 12, 7, 1.5), Qt::black);
}

void DrawZoomLimit(QPainter& painter) {
    DrawGlass(painter, Qt::white);
    const QPointF d = Direction(135) * (kLensRadius - 1.5);
    painter.strokePath(Segment(kLensCentre - d, kLensCentre + d), QPen(Qt::black, 1.5));
}

void DrawScissors(QPainter& painter) {
    QPainterPath blades;
    blades.moveTo(16, 2);
    blades.lineTo(11, 21);
    blades.moveTo(16, 2);
    blades.lineTo(21, 21);
    StrokeWithHalo(painter, blades, 1.5);
    QPainterPath rings;
    rings.addEllipse(QPointF(10, 25), 3.5, 3.5);
    rings.addEllipse(QPointF(22, 25), 3.5, 3.5);
    StrokeWithHalo(painter, rings, 1.5);
}

void DrawMeasure(QPainter& painter) {
    DrawCrosshair(painter, 14, 0);
    QPainterPath ticks;
    for (const qreal step : {6.0, 12.0}) {
        ticks.moveTo(kCentre + QPointF(step, -2));
        ticks.lineTo(kCentre + QPointF(step, 2));
        ticks.moveTo(kCentre + QPointF(-step, -2));
        ticks.lineTo(kCentre + QPointF(-step, 2));
        ticks.moveTo(kCentre + QPointF(-2, step));
        ticks.lineTo(kCentre + QPointF(2, step));
        ticks.moveTo(kCentre + QPointF(-2, -step));
        ticks.lineTo(kCentre + QPointF(2, -step));
    }
    StrokeWithHalo(painter, ticks);
    DrawCrosshair(painter, 14, 0);
}

void DrawLineMeasure(QPainter& painter) {
    DrawCrosshair(painter, 10, 2);
    StrokeWithHalo(painter, Segment(QPointF(20, 29), QPointF(30, 19)), 1.5);
    QPainterPath ends;
    ends.addRect(QRectF(18.5, 27.5, 3, 3));
    ends.addRect(QRectF(28.5, 17.5, 3, 3));
    FillOutlined(painter, ends, Qt::black);
}

// Tools drawn lying along +x with their tip at the origin, then turned to
// point at the lower left corner, where the hot spot is.
constexpr QPointF kTipPoint(2, 29);

void TurnToLowerLeft(QPainter& painter) {
    painter.translate(kTipPoint);
    painter.rotate(-45);
}

void DrawPencil(QPainter& painter) {
    painter.save();
    TurnToLowerLeft(painter);
    QPainterPath tip;
    tip.moveTo(0, 0);
    tip.lineTo(7, -3.5);
    tip.lineTo(7, 3.5);
    tip.closeSubpath();
    FillOutlined(painter, tip, QColor(240, 220, 170));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(2.5, -1.25);
    lead.lineTo(2.5, 1.25);
    lead.closeSubpath();
    painter.fillPath(lead, Qt::black);
    QPainterPath body;
    body.addRect(QRectF(7, -3.5, 20, 7));
    FillOutlined(painter, body, QColor(255, 200, 40));
    QPainterPath eraser;
    eraser.addRect(QRectF(27, -3.5, 6, 7));
    FillOutlined(painter, eraser, QColor(240, 140, 150));
    painter.restore();
}

void DrawEyedropper(QPainter& painter) {
    painter.save();
    TurnToLowerLeft(painter);
    QPainterPath tube;
    tube.moveTo(0, 0);
    tube.lineTo(3, -1.5);
    tube.lineTo(17, -1.5);
    tube.lineTo(17, 1.5);
    tube.lineTo(3, 1.5);
    tube.closeSubpath();
    FillOutlined(painter, tube);
    QPainterPath collar;
    collar.addRect(QRectF(17, -4, 3, 8));
    FillOutlined(painter, collar, Qt::black);
    QPainterPath bulb;
    bulb.addRoundedRect(QRectF(20, -3.5, 11, 7), 3.5, 3.5);
    FillOutlined(painter, bulb, QColor(90, 90, 90));
    painter.restore();
}

void DrawFill(QPainter& painter) {
    QPainterPath bucket;
    bucket.moveTo(12, 7);
    bucket.lineTo(25, 15);
    bucket.lineTo(19, 26);
    bucket.lineTo(7, 19);
    bucket.closeSubpath();
    FillOutlined(painter, bucket);
    QPainterPath handle;
    handle.moveTo(12, 7);
    handle.cubicTo(16, 0, 26, 5, 25, 15);
    StrokeWithHalo(painter, handle);
    QPainterPath paint;
    paint.moveTo(12, 7);
    paint.cubicTo(6, 9, 3, 14, 4, 22);
    paint.lineTo(2, 29);
    paint.lineTo(6, 22);
    paint.cubicTo(6, 16, 8, 13, 12, 7);
    FillOutlined(painter, paint, QColor(40, 90, 220));
}

QPainterPath LassoLoop() {
    QPainterPath path;
    path.addEllipse(QPointF(18, 10), 11, 6.5);
    path.moveTo(12, 15.5);
    path.cubicTo(8, 20, 12, 24, 7, 26);
    path.lineTo(3, 29);
    return path;
}

void DrawLasso(QPainter& painter) {
    StrokeWithHalo(painter, LassoLoop(), 1.5);
}

void DrawLassoSubtract(QPainter& painter) {
    DrawLasso(painter);
    DrawMinusBadge(painter);
}

void DrawMarqueeAdd(QPainter& painter) {
    DrawCrosshair(painter, 11, 0);
}

void DrawMarqueeSubtract(QPainter& painter) {
    DrawCrosshair(painter, 11, 0);
    DrawMinusBadge(painter);
}

void DrawMove(QPainter& painter) {
    DrawResizeArrow(painter, 0);
    DrawResizeArrow(painter, 90);
}

void DrawAdjust(QPainter& painter) {
    DrawCrosshair(painter, 12, 3);
    QPainterPath ring;
    ring.addEllipse(kCentre, 6, 6);
    StrokeWithHalo(painter, ring);
}

// A curved double-headed arrow crossing the hot spot, tangent to the circle
// around a centre that lies opposite `degrees`.
void DrawRotate(QPainter& painter, qreal degrees) {
    constexpr qreal kRadius = 22.0;
    constexpr qreal kSweep = 36.0;
    const QPointF centre = kCentre - Direction(degrees) * kRadius;
    const QRectF circle(centre.x() - kRadius, centre.y() - kRadius, 2 * kRadius, 2 * kRadius);
    QPainterPath arc;
    arc.arcMoveTo(circle, degrees - kSweep);
    arc.arcTo(circle, degrees - kSweep, 2 * kSweep);
    StrokeWithHalo(painter, arc, 2.0);
    for (const qreal end : {degrees - kSweep - 8, degrees + kSweep + 8}) {
        const QPointF tip = centre + Direction(end) * kRadius;
        // Tangent, pointing away from the arc's middle.
        const qreal sign = end > degrees ? 1.0 : -1.0;
        const QPointF tangent = Direction(end + 90.0) * sign;
        FillOutlined(painter, ArrowHead(tip, tangent, 7.0, 4.0), Qt::black);
    }
}

void DrawRotateFree(QPainter& painter) {
    const QRectF circle(6, 6, 20, 20);
    QPainterPath arc;
    arc.arcMoveTo(circle, 120);
    arc.arcTo(circle, 120, 290);
    StrokeWithHalo(painter, arc, 2.0);
    const QPointF tip = kCentre + Direction(410) * 10.0 + Direction(500) * 3.0;
    FillOutlined(painter, ArrowHead(tip, Direction(500), 7.0, 4.5), Qt::black);
    QPainterPath pivot;
    pivot.addEllipse(kCentre, 1.5, 1.5);
    FillOutlined(painter, pivot, Qt::black);
}

void DrawCalibration(QPainter& painter) {
    QPainterPath ruler;
    ruler.moveTo(3, 3);
    ruler.lineTo(29, 3);
    ruler.lineTo(29, 8);
    ruler.lineTo(8, 8);
    ruler.lineTo(8, 29);
    ruler.lineTo(3, 29);
    ruler.closeSubpath();
    FillOutlined(painter, ruler, QColor(255, 230, 120));
    QPainterPath ticks;
    for (int at = 12; at <= 27; at += 4) {
        ticks.moveTo(at, 3);
        ticks.lineTo(at, 6);
        ticks.moveTo(3, at);
        ticks.lineTo(6, at);
    }
    painter.strokePath(ticks, QPen(Qt::black, 1.0));
}

void DrawResizeCorner(QPainter& painter) {
    DrawResizeArrow(painter, 45, 12);
    DrawResizeArrow(painter, 135, 12);
}

void DrawTextPlace(QPainter& painter) {
    QPainterPath beam;
    beam.moveTo(12, 5);
    beam.lineTo(20, 5);
    beam.moveTo(16, 5);
    beam.lineTo(16, 27);
    beam.moveTo(12, 27);
    beam.lineTo(20, 27);
    StrokeWithHalo(painter, beam, 1.5);
    QPainterPath letter;
    letter.moveTo(22, 14);
    letter.lineTo(30, 14);
    letter.moveTo(26, 14);
    letter.lineTo(26, 22);
    StrokeWithHalo(painter, letter, 1.5);
}

struct CursorDrawing {
    QPoint hotSpot;
    void (*draw)(QPainter&);
};

CursorDrawing DrawingOf(CursorId id) {
    switch (id) {
    case CursorId::Magnifier:
        return {QPoint(12, 12), DrawMagnifier};
    case CursorId::RoiCut:
        return {QPoint(16, 2), DrawScissors};
    case CursorId::LineMeasure:
        return {QPoint(16, 16), DrawLineMeasure};
    case CursorId::Measure:
        return {QPoint(16, 16), DrawMeasure};
    case CursorId::ZoomIn:
        return {QPoint(12, 12), DrawZoomIn};
    case CursorId::ZoomOut:
        return {QPoint(12, 12), DrawZoomOut};
    case CursorId::ZoomLimit:
        return {QPoint(12, 12), DrawZoomLimit};
    case CursorId::Eyedropper:
        return {kTipPoint.toPoint(), DrawEyedropper};
    case CursorId::Lasso:
        return {QPoint(3, 29), DrawLasso};
    case CursorId::MarqueeAdd:
        return {QPoint(16, 16), DrawMarqueeAdd};
    case CursorId::LassoSubtract:
        return {QPoint(3, 29), DrawLassoSubtract};
    case CursorId::MarqueeSubtract:
        return {QPoint(16, 16), DrawMarqueeSubtract};
    case CursorId::Move:
        return {QPoint(16, 16), DrawMove};
    case CursorId::Pencil:
        return {kTipPoint.toPoint(), DrawPencil};
    case CursorId::Adjust:
        return {QPoint(16, 16), DrawAdjust};
    case CursorId::Fill:
        return {QPoint(2, 29), DrawFill};
    case CursorId::RotateFree:
        return {QPoint(16, 16), DrawRotateFree};
    case CursorId::Calibration:
        return {QPoint(3, 3), DrawCalibration};
    case CursorId::ResizeRising:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawResizeArrow(p, 45);
                }};
    case CursorId::ResizeVertical:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawResizeArrow(p, 90);
                }};
    case CursorId::ResizeFalling:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawResizeArrow(p, 135);
                }};
    case CursorId::ResizeHorizontal:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawResizeArrow(p, 0);
                }};
    case CursorId::ResizeCorner:
        return {QPoint(16, 16), DrawResizeCorner};
    case CursorId::TextPlace:
        return {QPoint(16, 16), DrawTextPlace};
    case CursorId::RotateRight:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 0);
                }};
    case CursorId::RotateUpRight:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 45);
                }};
    case CursorId::RotateUp:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 90);
                }};
    case CursorId::RotateUpLeft:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 135);
                }};
    case CursorId::RotateLeft:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 180);
                }};
    case CursorId::RotateDownLeft:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 225);
                }};
    case CursorId::RotateDown:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 270);
                }};
    case CursorId::RotateDownRight:
        return {QPoint(16, 16), [](QPainter& p) {
                    DrawRotate(p, 315);
                }};
    }
    return {QPoint(0, 0), [](QPainter&) {
            }};
}

QCursor CreateCursor(CursorId id) {
    const CursorDrawing drawing = DrawingOf(id);
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.draw(painter);
    painter.end();
    return QCursor(pixmap, drawing.hotSpot.x(), drawing.hotSpot.y());
}

} // namespace

const QCursor& CursorFor(CursorId id) {
    // Never destroyed: a pixmap must not outlive the application object,
    // which is gone by the time static objects are destroyed.
    static auto* cursors = new std::map<CursorId, QCursor>();
    auto found = cursors->find(id);
    if (found == cursors->end())
        found = cursors->emplace(id, CreateCursor(id)).first;
    return found->second;
}

std::span<const CursorId> AllCursorIds() {
    return kAllIds;
}

CursorId RotateCursorForOctant(int octant) {
    return kRotateByOctant[static_cast<size_t>(((octant % 8) + 8) % 8)];
}

} // namespace halvera
