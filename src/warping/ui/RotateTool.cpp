#include "warping/ui/RotateTool.h"

#include "view/ui/MavView.h"
#include "warping/WarpReadouts.h"
#include "warping/ui/WarpFrameDrawing.h"
#include "warping/ui/WarpToolSupport.h"

#include <QPainter>

namespace halvera {

namespace {

// The resize cursor for a handle, by the octant of the pointer around the centre.
CursorId ResizeCursor(int octant) {
    switch (octant % 4) {
    case 1:
        return CursorId::ResizeRising;
    case 2:
        return CursorId::ResizeVertical;
    case 3:
        return CursorId::ResizeFalling;
    default:
        return CursorId::ResizeHorizontal;
    }
}

} // namespace

CRotateTool::CRotateTool(CMavView& view) : frame_(BeginWarpTool(view)) {
    view.repaintView();
}

int CRotateTool::HitTest(CMavView& view, int x, int y) const {
    return HitWindowFrame(view, frame_.Corners(), x, y, kHandleTolerance, RotateFrame::kInside,
                          RotateFrame::kOutside);
}

void CRotateTool::ShowCursor(CMavView& view, int x, int y) const {
    const int hit = HitTest(view, x, y);
    if (hit == RotateFrame::kInside) {
        view.setToolCursor(CursorId::Move);
        return;
    }
    const PixelPoint mouse = ImagePointAt(view, x, y);
    const int octant = OctantOf(AngleAround(frame_.centre(), ToReal(mouse)));
    view.setToolCursor(hit == RotateFrame::kOutside ? RotateCursorForOctant(octant)
                                                    : ResizeCursor(octant));
}

void CRotateTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    view.captureMouse();
    press_ = last_ = ImagePointAt(view, x, y);
    grabbed_ = HitTest(view, x, y);
    dragging_ = true;
}

void CRotateTool::Drag(const PixelPoint& mouse) {
    if (grabbed_ == RotateFrame::kOutside)
        frame_.Turn(press_, mouse);
    else if (grabbed_ == RotateFrame::kInside)
        frame_.Move(mouse, last_);
    else
        frame_.DragHandle(grabbed_, mouse);
    last_ = mouse;
}

void CRotateTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    if (!dragging_ || !(flags & kMouseLeftButton)) {
        ShowCursor(view, x, y);
        return;
    }
    // Turning keeps the view where it is: the pointer may circle far outside.
    if (grabbed_ < RotateFrame::kOutside)
        AutoScroll(view, x, y);
    Drag(ImagePointAt(view, x, y));
    view.repaintView();
}

void CRotateTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    Drag(ImagePointAt(view, x, y));
    frame_.Release(grabbed_);
    RenderQuadStep(view, frame_.source(), frame_.Corners());
    dragging_ = false;
    view.releaseCapture();
    view.repaintView();
}

void CRotateTool::Draw(CMavView& view, QPainter& painter) {
    const QuadCorners corners = frame_.Corners();
    DrawWarpFrame(view, painter, corners, FrameHandlePoints(corners));
    DrawWarpReadout(view, painter, AngleReadout(frame_.angle()));
}

void CRotateTool::Finish(CMavView& view) {
    KeepWarpedImage(view);
}

} // namespace halvera
