#include "view/ui/LineTool.h"

#include "view/Brush.h"
#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

void CLineTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!view.isOverImage(QPoint(x, y)))
        return;
    view.captureMouse();
    dragging_ = true;
    start_ = end_ = ImagePoint(view, x, y);
    size_ = Settings(view).PencilSize;
    colour_ = static_cast<ColourRef>(Settings(view).SignColor);
    view.repaintView();
}

void CLineTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Measure);
    if (!dragging_ || !(flags & kMouseLeftButton))
        return;
    AutoScroll(view, x, y);
    end_ = ImagePoint(view, x, y);
    view.repaintView();
}

void CLineTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    // The release point ends the line even when no move reported it.
    end_ = ImagePoint(view, x, y);
    dragging_ = false;
    PaintAsStep(view, [&] {
        StrokeLine(Canvas(view, colour_), start_, end_, size_);
        return true;
    });
    view.releaseCapture();
}

void CLineTool::Draw(CMavView& view, QPainter& painter) {
    if (!dragging_)
        return;
    painter.save();
    BeginXor(painter);
    painter.setPen(QPen(QColor(255, 0, 0), size_, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(view.imageToWindow(QPoint(start_.x, start_.y)),
                     view.imageToWindow(QPoint(end_.x, end_.y)));
    painter.restore();
}

void CLineTool::Finish(CMavView& view) {
    if (dragging_)
        view.releaseCapture();
    dragging_ = false;
    view.repaintView();
}

} // namespace halvera
