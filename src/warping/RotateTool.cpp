#include "warping/RotateTool.h"

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

constexpr double kDegreesPerRadian = 57.29577951308232;

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

// "(Angle = 12.345)", with a full turn shown as 0.000 rather than 360.000.
QString Readout(double angle) {
    double degrees = angle * kDegreesPerRadian;
    if (degrees >= 359.9995)
        degrees -= 360.0;
    return QStringLiteral("(Angle = %1)").arg(degrees, 0, 'f', 3);
}

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

CRotateTool::CRotateTool(CMavView& view) : frame_(StartBox(view)) {
    view.repaintView();
}

int CRotateTool::HitTest(CMavView& view, int x, int y) const {
    const QPoint logical = view.clientToLogical(QPoint(x, y));
    const PixelPoint mouse{logical.x(), logical.y()};
    const QuadCorners window = CornersInWindow(view, frame_.Corners());
    const int handle = HitFrameHandle(FrameHandlePoints(window), mouse, kHandleTolerance);
    if (handle >= 0)
        return handle;
    return IsInsideQuad(window, mouse) ? RotateFrame::kInside : RotateFrame::kOutside;
}

void CRotateTool::ShowCursor(CMavView& view, int x, int y) const {
    const int hit = HitTest(view, x, y);
    if (hit == RotateFrame::kInside) {
        view.setToolCursor(CursorId::Move);
        return;
    }
    const PixelPoint mouse = ImagePoint(view, x, y);
    const int octant =
        OctantOf(AngleAround(frame_.centre(), RealPoint{double(mouse.x), double(mouse.y)}));
    view.setToolCursor(hit == RotateFrame::kOutside ? RotateCursorForOctant(octant)
                                                    : ResizeCursor(octant));
}

void CRotateTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    view.captureMouse();
    press_ = last_ = ImagePoint(view, x, y);
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
    Drag(ImagePoint(view, x, y));
    view.repaintView();
}

void CRotateTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (!dragging_)
        return;
    Drag(ImagePoint(view, x, y));
    frame_.Release(grabbed_);
    Render(view);
    dragging_ = false;
    view.releaseMouse();
    view.repaintView();
}

void CRotateTool::Render(CMavView& view) {
    CMavDoc& doc = view.document();
    const WaitCursor wait;
    RunImageMaskCommand(doc, view.selection(), false, [&] {
        doc.RestoreFromWorking();
        return WarpQuad(doc.image(), doc.working(), doc.mask(), doc.savedMask(), frame_.source(),
                        frame_.Corners());
    });
    view.repaintIndexPanel();
}

void CRotateTool::Draw(CMavView& view, QPainter& painter) {
    const QuadCorners corners = frame_.Corners();
    DrawWarpFrame(view, painter, corners, FrameHandlePoints(corners));
    DrawWarpReadout(view, painter, Readout(frame_.angle()));
}

void CRotateTool::Finish(CMavView& view) {
    view.repaintView();
    view.document().CopyToWorking();
    view.document().SaveMask();
}

} // namespace halvera
