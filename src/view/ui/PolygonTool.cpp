#include "view/ui/PolygonTool.h"

#include "view/Brush.h"
#include "view/FillShapes.h"
#include "view/ui/MavView.h"
#include "view/ui/RubberPath.h"

#include <QPainter>

namespace halvera {

void CPolygonTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    view.captureMouse();
    current_ = QPoint(x, y);
    append(view, x, y);
    view.repaintView();
}

void CPolygonTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Lasso);
    if (points_.empty())
        return;
    if (flags & kMouseLeftButton)
        append(view, x, y);
    current_ = QPoint(x, y);
    view.repaintView();
}

void CPolygonTool::OnLButtonDblClk(CMavView& view, int, int x, int y) {
    if (!view.viewport()->rect().contains(QPoint(x, y)))
        return;
    if (points_.size() >= 2) {
        const AppSettings& settings = Settings(view);
        const int size = settings.PencilSize;
        const auto colour = static_cast<ColourRef>(settings.SignColor);
        PaintAsStep(view, [&] {
            const PaintCanvas canvas = Canvas(view, colour);
            if (style_ == ShapeStyle::Filled)
                return FillPolygonColor(canvas, points_) == 1;
            StrokePolygon(canvas, points_, size);
            return true;
        });
    }
    points_.clear();
    view.releaseCapture();
    view.repaintView();
}

void CPolygonTool::Draw(CMavView& view, QPainter& painter) {
    DrawRubberPath(painter, view, points_, current_);
}

void CPolygonTool::Finish(CMavView& view) {
    view.repaintView();
}

void CPolygonTool::append(CMavView& view, int x, int y) {
    const PixelPoint point = ClampedImagePoint(view, x, y);
    if (points_.empty() || points_.back() != point)
        points_.push_back(point);
}

} // namespace halvera
