#include "warping/FreeTransformTool.h"

#include "image/ImageCommand.h"
#include "image/MavDoc.h"
#include "platform/UserPrompts.h"
#include "view/MavView.h"
#include "view/SelectionBounds.h"
#include "warping/WarpFrameDrawing.h"
#include "warping/WarpQuad.h"

#include <QPainter>

namespace halvera {

namespace {

PixelRect StartBox(CMavView& view) {
    CMavDoc& doc = view.document();
    doc.CopyToWorking();
    doc.SaveMask();
    return SelectionBounds(doc.savedMask());
}

PixelPoint ImagePoint(CMavView& view, int x, int y) {
    const QPoint p = view.windowToImage(QPoint(x, y));
    return PixelPoint{p.x(), p.y()};
}

RealPoint ToReal(PixelPoint p) {
    return RealPoint{static_cast<double>(p.x), static_cast<double>(p.y)};
}

} // namespace

CFreeTransformTool::CFreeTransformTool(CMavView& view) : frame_(StartBox(view)) {
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
    press_ = last_ = ImagePoint(view, x, y);
    grabbed_ = frame_.HitTest(press_);
    dragging_ = true;
}

void CFreeTransformTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    const PixelPoint mouse = ImagePoint(view, x, y);
    if (!dragging_ || !(flags & kMouseLeftButton)) {
        ShowCursor(view, mouse);
        return;
    }
    AutoScroll(view, x, y);
    const PixelPoint scrolled = ImagePoint(view, x, y);
    frame_.Drag(grabbed_, scrolled, press_, last_);
    last_ = scrolled;
    view.repaintView();
}

void CFreeTransformTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    const PixelPoint mouse = ImagePoint(view, x, y);
    frame_.Drag(grabbed_, mouse, press_, last_);
    last_ = mouse;
    frame_.Release();
    if (grabbed_ != FreeTransformFrame::kPivot)
        Render(view);
    dragging_ = false;
    view.releaseMouse();
    view.repaintView();
}

void CFreeTransformTool::Render(CMavView& view) {
    CMavDoc& doc = view.document();
    const WaitCursor wait;
    RunImageMaskCommand(doc, view.selection(), false, [&] {
        doc.RestoreFromWorking();
        return WarpQuad(doc.image(), doc.working(), doc.mask(), doc.savedMask(), frame_.source(),
                        frame_.corners());
    });
    view.repaintIndexPanel();
}

void CFreeTransformTool::Draw(CMavView& view, QPainter& painter) {
    DrawWarpFrame(view, painter, frame_.corners(), frame_.corners());
    DrawPivotMarker(view, painter, frame_.pivot());
}

void CFreeTransformTool::Finish(CMavView& view) {
    view.repaintView();
    view.document().CopyToWorking();
    view.document().SaveMask();
}

} // namespace halvera
