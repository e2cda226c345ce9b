#include "view/ui/ZoomTool.h"

#include "view/ui/MavView.h"

namespace halvera {

// The glass for a click zooming out (Ctrl held) or in, crossed out once that
// direction is exhausted.
CursorId CZoomTool::GlassCursor(bool zoomOut) const {
    if (zoomOut)
        return limit_ == kSmallestReached ? CursorId::ZoomLimit : CursorId::ZoomOut;
    return limit_ == kLargestReached ? CursorId::ZoomLimit : CursorId::ZoomIn;
}

void CZoomTool::ChooseCursor(CMavView& view, int flags, QPoint at) {
    inside_ = view.isOverImage(at);
    if (!inside_) {
        view.setArrowCursor();
        return;
    }
    view.setToolCursor(GlassCursor((flags & kMouseControl) != 0));
}

void CZoomTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    ChooseCursor(view, flags, QPoint(x, y));
}

void CZoomTool::OnLButtonUp(CMavView& view, int flags, int x, int y) {
    const QPoint at(x, y);
    if (!view.isOverImage(at))
        return;
    // A step the view refuses (end of the table, or a scaled side beyond
    // 32767 pixels) marks that direction as exhausted, so the cursor says so.
    if (flags & kMouseControl) {
        const bool zoomed = view.zoomTo(view.zoomIndex() + 1, at);
        if (zoomed)
            limit_ = kNoLimit;
        if (!zoomed || view.zoomIndex() > kZoomCount - 2)
            limit_ = kSmallestReached;
    } else {
        const bool zoomed = view.zoomTo(view.zoomIndex() - 1, at);
        if (zoomed)
            limit_ = kNoLimit;
        if (!zoomed || view.zoomIndex() < 1)
            limit_ = kLargestReached;
    }
    ChooseCursor(view, flags, at);
}

void CZoomTool::OnKeyDown(CMavView& view, int key, int, int) {
    if (inside_ && key == Qt::Key_Control)
        view.setToolCursor(GlassCursor(true));
}

void CZoomTool::OnKeyUp(CMavView& view, int key, int, int) {
    if (inside_ && key == Qt::Key_Control)
        view.setToolCursor(GlassCursor(false));
}

} // namespace halvera
