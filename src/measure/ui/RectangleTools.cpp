#include "measure/ui/RectangleTools.h"

#include "document/MeasureData.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/MavView.h"

namespace halvera {

// ---- Rectangle

void CRectangleMeasureTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    view.captureMouse();
    const PixelPoint at = ToImage(view, x, y);
    rect_ = {at.x, at.y, at.x, at.y};
    dragging_ = true;
}

void CRectangleMeasureTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Measure);
    if (!dragging_ || !LeftHeld(flags))
        return;
    AutoScroll(view, x, y);
    const PixelPoint at = ToImage(view, x, y);
    rect_.right = at.x;
    rect_.bottom = at.y;
    view.repaintView();
}

void CRectangleMeasureTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (!dragging_)
        return;
    if (Data(view).AppendRectangle(rect_)) {
        Results::AppendRow(MeasureKind::Rectangle);
        Results::SelectTab(MeasureKind::Rectangle);
    }
    dragging_ = false;
    view.repaintView();
}

void CRectangleMeasureTool::DrawOwn(CMavView&, CMeasureDrawer& drawer, QPainter&) {
    if (dragging_)
        drawer.DrawRectangle(rect_.normalized());
}

// ---- Adjust rectangle

bool CAdjustRectangleTool::holdsRectangle(CMavView& view) const {
    return grab_.part != RectanglePart::None && grab_.index >= 0 &&
           Data(view).ItemCount(MeasureKind::Rectangle) > grab_.index;
}

void CAdjustRectangleTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    const PixelPoint at = ToImage(view, x, y);
    const RectangleHit hit = HitRectangle(Data(view).rectangles(), at);
    if (hit.index < 0)
        return;
    view.captureMouse();
    grab_ = hit;
    last_ = at;
    Results::SelectTab(MeasureKind::Rectangle);
    Results::SelectRow(hit.index);
}

void CAdjustRectangleTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Adjust);
    if (!LeftHeld(flags) || !holdsRectangle(view))
        return;
    AutoScroll(view, x, y);
    const PixelPoint at = ToImage(view, x, y);
    PixelRect& r = Data(view).mutableRectangles()[static_cast<size_t>(grab_.index)];
    switch (grab_.part) {
    case RectanglePart::LeftTop:
        r.left = at.x, r.top = at.y;
        break;
    case RectanglePart::RightTop:
        r.right = at.x, r.top = at.y;
        break;
    case RectanglePart::RightBottom:
        r.right = at.x, r.bottom = at.y;
        break;
    case RectanglePart::LeftBottom:
        r.left = at.x, r.bottom = at.y;
        break;
    case RectanglePart::Interior:
        r = {r.left + at.x - last_.x, r.top + at.y - last_.y, r.right + at.x - last_.x,
             r.bottom + at.y - last_.y};
        break;
    case RectanglePart::None:
        break;
    }
    r = r.normalized();
    last_ = at;
    Results::UpdateRow(MeasureKind::Rectangle, grab_.index);
    view.repaintView();
}

void CAdjustRectangleTool::OnLButtonUp(CMavView& view, int, int, int) {
    grab_ = {};
    view.releaseCapture();
}

} // namespace halvera
