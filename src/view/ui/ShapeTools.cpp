#include "view/ui/ShapeTools.h"

#include "document/MavDoc.h"
#include "view/Brush.h"
#include "view/FillShapes.h"
#include "view/MidpointEllipse.h"
#include "view/ui/MavView.h"

#include <QPainter>
#include <algorithm>

namespace halvera {

void CBoxShapeTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!view.isOverImage(QPoint(x, y)))
        return;
    view.captureMouse();
    const PixelPoint p = ImagePoint(view, x, y);
    box_ = {p.x, p.y, p.x, p.y};
    dragging_ = true;
    view.repaintView();
}

void CBoxShapeTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::MarqueeAdd);
    if (!dragging_ || !(flags & kMouseLeftButton))
        return;
    AutoScroll(view, x, y);
    const PixelPoint p = ImagePoint(view, x, y);
    box_.right = p.x;
    box_.bottom = p.y;
    view.repaintView();
}

void CBoxShapeTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    const PixelPoint p = ImagePoint(view, x, y);
    box_.right = p.x;
    box_.bottom = p.y;
    dragging_ = false;
    const AppSettings& settings = Settings(view);
    const int size = settings.PencilSize;
    const auto colour = static_cast<ColourRef>(settings.SignColor);
    const PixelRect box = prepare(view, box_.normalized());
    PaintAsStep(view, [&] {
        paint(Canvas(view, colour), box, size);
        return true;
    });
    view.releaseCapture();
}

void CBoxShapeTool::Draw(CMavView& view, QPainter& painter) {
    if (!dragging_)
        return;
    const PixelRect r = box_.normalized();
    painter.save();
    BeginXor(painter);
    painter.setPen(QPen(Qt::white, 0));
    drawRubber(painter,
               view.imageRectToWindow(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom))));
    painter.restore();
}

void CBoxShapeTool::Finish(CMavView& view) {
    if (dragging_)
        view.releaseCapture();
    dragging_ = false;
    view.repaintView();
}

void CRectangleTool::paint(const PaintCanvas& canvas, const PixelRect& box, int size) {
    if (style() == ShapeStyle::Filled)
        FillRectColor(canvas, box);
    else
        StrokeRectangle(canvas, box, size);
}

PixelRect CRectangleTool::prepare(CMavView& view, const PixelRect& box) const {
    const int32_t maxX = std::max(view.document().width() - 1, 0);
    const int32_t maxY = std::max(view.document().height() - 1, 0);
    return {std::clamp(box.left, 0, maxX), std::clamp(box.top, 0, maxY),
            std::clamp(box.right, 0, maxX), std::clamp(box.bottom, 0, maxY)};
}

void CRectangleTool::drawRubber(QPainter& painter, const QRect& window) const {
    // A stroked QRect reaches one pixel past its right and bottom edges.
    painter.drawRect(window.adjusted(0, 0, -1, -1));
}

void CEllipseTool::paint(const PaintCanvas& canvas, const PixelRect& box, int size) {
    if (style() == ShapeStyle::Filled)
        FillEllipseColor(canvas, box);
    else
        StrokeEllipse(canvas, box, size);
}

void CEllipseTool::drawRubber(QPainter& painter, const QRect& window) const {
    // Each point once, so that XOR does not cancel it.
    QPolygon points;
    MidpointEllipse({window.left(), window.top(), window.right(), window.bottom()})
        .forEachOutlinePoint([&](int32_t px, int32_t py) { points << QPoint(px, py); });
    painter.drawPoints(points);
}

} // namespace halvera
