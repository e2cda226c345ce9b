#include "warping/ui/ZoomFrameTool.h"

#include "document/MavDoc.h"
#include "platform/UserPrompts.h"
#include "view/ui/MavView.h"
#include "warping/ScaleRect.h"
#include "warping/WarpReadouts.h"
#include "warping/ui/WarpFrameDrawing.h"
#include "warping/ui/WarpToolSupport.h"

#include <QPainter>

namespace halvera {

CZoomFrameTool::CZoomFrameTool(CMavView& view) : frame_(BeginWarpTool(view)) {
    view.repaintView();
}

int CZoomFrameTool::HitTest(CMavView& view, int x, int y) const {
    return HitWindowFrame(view, frame_.corners(), x, y, kHandleTolerance, ZoomFrame::kInside,
                          ZoomFrame::kNothing);
}

void CZoomFrameTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    view.captureMouse();
    last_ = ImagePointAt(view, x, y);
    grabbed_ = HitTest(view, x, y);
    dragging_ = true;
}

void CZoomFrameTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    if (!dragging_ || !(flags & kMouseLeftButton)) {
        switch (HitTest(view, x, y)) {
        case 1:
        case 5:
            view.setToolCursor(CursorId::ResizeVertical);
            break;
        case 3:
        case 7:
            view.setToolCursor(CursorId::ResizeHorizontal);
            break;
        case ZoomFrame::kInside:
            view.setToolCursor(CursorId::Move);
            break;
        case ZoomFrame::kNothing:
            view.setToolCursor(CursorId::Adjust);
            break;
        default:
            view.setToolCursor(CursorId::ResizeCorner);
            break;
        }
        return;
    }
    AutoScroll(view, x, y);
    const PixelPoint mouse = ImagePointAt(view, x, y);
    frame_.Drag(grabbed_, mouse, last_);
    last_ = mouse;
    view.repaintView();
}

void CZoomFrameTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    const PixelPoint mouse = ImagePointAt(view, x, y);
    frame_.Drag(grabbed_, mouse, last_);
    last_ = mouse;
    if (grabbed_ != ZoomFrame::kNothing)
        Render(view);
    dragging_ = false;
    view.releaseCapture();
    view.repaintView();
}

void CZoomFrameTool::Render(CMavView& view) {
    CMavDoc& doc = view.document();
    const WaitCursor wait;
    doc.RestoreFromWorking();
    // The zoom tool's renders are previews the user keeps adjusting: no undo
    // step, but the image has changed.
    if (ScaleRect(doc.image(), doc.working(), doc.mask(), doc.savedMask(), frame_.regionBox(),
                  frame_.Destination()))
        doc.SetModifiedFlag(true);
    view.repaintIndexPanel();
}

void CZoomFrameTool::Draw(CMavView& view, QPainter& painter) {
    DrawWarpFrame(view, painter, frame_.corners(), FrameHandlePoints(frame_.corners()));
    DrawWarpReadout(view, painter, ZoomReadout(frame_.HorizontalRatio(), frame_.VerticalRatio()));
}

void CZoomFrameTool::Finish(CMavView& view) {
    view.repaintView();
}

} // namespace halvera
