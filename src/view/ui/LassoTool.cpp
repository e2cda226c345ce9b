#include "view/ui/LassoTool.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "view/FillMaskPolygon.h"
#include "view/ui/MavView.h"
#include "view/ui/RubberPath.h"

#include <QPainter>

namespace halvera {

CLassoTool::CLassoTool() : CSelectionPaintTool(CursorId::Lasso, CursorId::LassoSubtract) {
    points_.reserve(kPointsGrowth);
}

void CLassoTool::OnLButtonDown(CMavView& view, int flags, int x, int y) {
    const QPoint client(x, y);
    if (!view.isOverImage(client))
        return;
    setPaintValue(view, PaintValueFor(flags));
    // While the button is held the view receives the pointer outside its
    // window too; between clicks the mouse stays free for the rest of the program.
    current_ = client;
    append(view, client);
    view.repaintView();
}

void CLassoTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    showCursor(view);
    const QPoint client(x, y);
    if (!view.isOverImage(client) || points_.empty())
        return;
    if (flags & kMouseLeftButton) {
        // Freehand: every position the pointer passes becomes a vertex.
        append(view, client);
    }
    current_ = client;
    view.repaintView();
}

void CLassoTool::OnLButtonDblClk(CMavView& view, int flags, int x, int y) {
    if (!view.isOverImage(QPoint(x, y)) || points_.empty())
        return;
    // The Ctrl state at the moment of closing decides, even when the key went
    // down while another window had the keyboard.
    const uint8_t value = PaintValueFor(flags);
    if (points_.size() >= 2) {
        CMavDoc& doc = view.document();
        RunMaskCommand(doc, view.selection(),
                       [&] { return FillMaskPolygon(doc.mask(), points_, value) == 1; });
    }
    reset(view);
    view.repaintView();
}

void CLassoTool::Draw(CMavView& view, QPainter& painter) {
    DrawRubberPath(painter, view, points_, current_);
}

void CLassoTool::Finish(CMavView& view) {
    view.repaintView();
}

void CLassoTool::append(CMavView& view, QPoint client) {
    const QPoint image = view.windowToImage(client);
    const PixelPoint point{image.x(), image.y()};
    if (points_.empty() || points_.back() != point) {
        if (points_.size() == points_.capacity())
            points_.reserve(points_.size() + kPointsGrowth);
        points_.push_back(point);
    }
}

void CLassoTool::reset(CMavView& view) {
    points_.clear();
    points_.shrink_to_fit();
    points_.reserve(kPointsGrowth);
    setPaintValue(view, kAdd);
}

} // namespace halvera
