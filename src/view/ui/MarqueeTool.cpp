#include "view/ui/MarqueeTool.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "view/FillMaskEllipse.h"
#include "view/FillMaskRect.h"
#include "view/MidpointEllipse.h"
#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

void CMarqueeTool::OnLButtonDown(CMavView& view, int flags, int x, int y) {
    // Presses anywhere in the client area count, also beside the image.
    setPaintValue(view, PaintValueFor(flags));
    const QPoint image = view.windowToImage(QPoint(x, y));
    rect_ = {image.x(), image.y(), image.x(), image.y()};
    dragging_ = true;
    view.repaintView();
}

void CMarqueeTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    showCursor(view);
    if (!dragging_ || !(flags & kMouseLeftButton))
        return;
    AutoScroll(view, x, y);
    setSecondCorner(view, x, y);
    view.repaintView();
}

void CMarqueeTool::OnLButtonUp(CMavView& view, int flags, int x, int y) {
    if (!dragging_)
        return;
    // The release pixel is part of the selection even when no move reported it.
    setSecondCorner(view, x, y);
    dragging_ = false;
    const PixelRect rect = rect_.normalized();
    const uint8_t value = PaintValueFor(flags);
    CMavDoc& doc = view.document();
    RunMaskCommand(doc, view.selection(), [&] {
        if (shape_ == Shape::Rectangle)
            FillMaskRect(doc.mask(), rect, value);
        else
            FillMaskEllipse(doc.mask(), rect, value);
    });
    view.repaintView();
}

void CMarqueeTool::Draw(CMavView& view, QPainter& painter) {
    if (!dragging_)
        return;
    const PixelRect r = rect_.normalized();
    const QRect window =
        view.imageRectToWindow(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    painter.setBrush(Qt::NoBrush);
    if (shape_ == Shape::Rectangle) {
        // A stroked QRect reaches one pixel past its right and bottom edges.
        painter.drawRect(window.adjusted(0, 0, -1, -1));
    } else {
        // The same midpoint stepping as the fill, on window pixels; each
        // point once, so that XOR does not cancel it.
        QPolygon points;
        MidpointEllipse({window.left(), window.top(), window.right(), window.bottom()})
            .forEachOutlinePoint([&](int32_t px, int32_t py) { points << QPoint(px, py); });
        painter.drawPoints(points);
    }
    painter.restore();
}

void CMarqueeTool::Finish(CMavView& view) {
    dragging_ = false;
    view.repaintView();
}

void CMarqueeTool::setSecondCorner(CMavView& view, int x, int y) {
    const QPoint image = view.windowToImage(QPoint(x, y));
    rect_.right = image.x();
    rect_.bottom = image.y();
}

} // namespace halvera
