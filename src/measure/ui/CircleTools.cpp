#include "measure/ui/CircleTools.h"

#include "document/MeasureData.h"
#include "measure/MeasureHitTest.h"
#include "measure/ThreePointCircle.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/MavView.h"

namespace halvera {

// ---- Circle

void CCircleTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    view.captureMouse();
    centre_ = onCircle_ = ToImage(view, x, y);
    dragging_ = true;
}

void CCircleTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Measure);
    if (!dragging_ || !LeftHeld(flags))
        return;
    AutoScroll(view, x, y);
    onCircle_ = ToImage(view, x, y);
    view.repaintView();
}

void CCircleTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (!dragging_)
        return;
    if (Data(view).AppendCircle(centre_, onCircle_)) {
        Results::AppendRow(MeasureKind::Circle);
        Results::SelectTab(MeasureKind::Circle);
    }
    dragging_ = false;
    view.repaintView();
}

void CCircleTool::DrawOwn(CMavView&, CMeasureDrawer& drawer, QPainter&) {
    if (dragging_ && centre_ != onCircle_)
        drawer.DrawCircle(centre_, onCircle_);
}

// ---- Three point circle

void CThreePointCircleTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y) || lastClick_ >= 2)
        return;
    view.captureMouse();
    points_[static_cast<size_t>(++lastClick_)] = ToImage(view, x, y);
    view.repaintView();
}

void CThreePointCircleTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (lastClick_ < 2)
        return;
    if (const auto circle = FitThreePointCircle(points_[0], points_[1], points_[2]);
        circle && Data(view).AppendCircle(circle->centre, circle->onCircle)) {
        Results::AppendRow(MeasureKind::Circle);
        Results::SelectTab(MeasureKind::Circle);
    }
    lastClick_ = -1;
    view.repaintView();
}

void CThreePointCircleTool::OnMouseMove(CMavView& view, int, int, int) {
    view.setToolCursor(CursorId::Measure);
}

// The clicks of the circle in progress keep their marks until it is done.
void CThreePointCircleTool::DrawOwn(CMavView&, CMeasureDrawer& drawer, QPainter&) {
    for (int i = 0; i <= lastClick_ && i < 3; ++i)
        drawer.DrawClickMarker(points_[static_cast<size_t>(i)]);
}

// ---- Adjust circle

bool CAdjustCircleTool::holdsCircle(CMavView& view) const {
    return part_ != None && circle_ >= 0 && Data(view).ItemCount(MeasureKind::Circle) > circle_;
}

void CAdjustCircleTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    const PixelPoint at = ToImage(view, x, y);
    const int hit = HitStoredPoint(Data(view).circles(), at);
    if (hit < 0)
        return;
    view.captureMouse();
    part_ = hit % 2 == 0 ? Centre : OnCircle;
    circle_ = hit / 2;
    last_ = at;
    Results::SelectTab(MeasureKind::Circle);
    Results::SelectRow(circle_);
}

void CAdjustCircleTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Adjust);
    if (!LeftHeld(flags) || !holdsCircle(view))
        return;
    AutoScroll(view, x, y);
    const PixelPoint at = ToImage(view, x, y);
    PixelPoint* circle = &Data(view).mutableCircles()[static_cast<size_t>(2 * circle_)];
    if (part_ == OnCircle) {
        circle[1] = at;
    } else {
        for (int i = 0; i < 2; ++i) {
            circle[i].x += at.x - last_.x;
            circle[i].y += at.y - last_.y;
        }
    }
    last_ = at;
    Results::UpdateRow(MeasureKind::Circle, circle_);
    view.repaintView();
}

void CAdjustCircleTool::OnLButtonUp(CMavView& view, int, int, int) {
    part_ = None;
    view.releaseCapture();
}

} // namespace halvera
