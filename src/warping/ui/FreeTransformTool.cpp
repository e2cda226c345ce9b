#include "warping/ui/FreeTransformTool.h"

#include "view/ui/MavView.h"
#include "warping/ui/WarpFrameDrawing.h"
#include "warping/ui/WarpToolSupport.h"

#include <QPainter>

namespace halvera {

CFreeTransformTool::CFreeTransformTool(CMavView& view) : frame_(BeginWarpTool(view)) {
    view.repaintView();
}

void CFreeTransformTool::ShowCursor(CMavView& view, PixelPoint mouse) const {
    switch (frame_.HitTest(mouse)) {
    case FreeTransformFrame::kPivot:
        view.setToolCursor(CursorId::Adjust);
        break;
    case FreeTransformFrame::kInside:
        view.setToolCursor(CursorId::Move);
        break;
    case FreeTransformFrame::kOutside:
        view.setToolCursor(
            RotateCursorForOctant(OctantOf(AngleAround(ToReal(frame_.pivot()), ToReal(mouse)))));
        break;
    default:
        view.setToolCursor(CursorId::ResizeCorner);
        break;
    }
}

void CFreeTransformTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    view.captureMouse();
    press_ = last_ = ImagePointAt(view, x, y);
    grabbed_ = frame_.HitTest(press_);
    dragging_ = true;
}

void CFreeTransformTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    const PixelPoint mouse = ImagePointAt(view, x, y);
    if (!dragging_ || !(flags & kMouseLeftButton)) {
        ShowCursor(view, mouse);
        return;
    }
    AutoScroll(view, x, y);
    const PixelPoint scrolled = ImagePointAt(view, x, y);
    frame_.Drag(grabbed_, scrolled, press_, last_);
    last_ = scrolled;
    view.repaintView();
}

void CFreeTransformTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    const PixelPoint mouse = ImagePointAt(view, x, y);
    frame_.Drag(grabbed_, mouse, press_, last_);
    last_ = mouse;
    frame_.Release();
    if (grabbed_ != FreeTransformFrame::kPivot)
        RenderQuadStep(view, frame_.source(), frame_.corners());
    dragging_ = false;
    view.releaseCapture();
    view.repaintView();
}

void CFreeTransformTool::Draw(CMavView& view, QPainter& painter) {
    DrawWarpFrame(view, painter, frame_.corners(), frame_.corners());
    DrawPivotMarker(view, painter, frame_.pivot());
}

void CFreeTransformTool::Finish(CMavView& view) {
    KeepWarpedImage(view);
}

} // namespace halvera
