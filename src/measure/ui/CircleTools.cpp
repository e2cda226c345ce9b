#include "measure/ui/CircleTools.h"

#include "document/MavDoc.h"
#include "document/MeasureData.h"
#include "measure/CircleFit.h"
#include "measure/CircularEdge.h"
#include "measure/MeasureHitTest.h"
#include "measure/ThreePointCircle.h"
#include "measure/ui/EdgeSnap.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/MavView.h"

#include <cmath>

namespace halvera {

namespace {

// The circular edge near the circle of `centre` and `radius`, fitted all
// round, appended; false when none is found or it is refused.
bool AppendEdgeCircleNear(CMavView& view, SubPixelPoint centre, double radius) {
    const auto circle =
        FindCircularEdge(view.document().image(), centre, radius, kDefaultSnapRadius);
    ShowSnapStatus(circle ? std::optional(circle->centre) : std::nullopt);
    return circle && view.document().measureData().AppendEdgeCircle(
                         circle->centre, {circle->centre.x + circle->radius, circle->centre.y},
                         circle->residual);
}

} // namespace

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
    if (!dragging_ || !LeftHeld(flags)) {
        TrackSnap(view, x, y);
        return;
    }
    AutoScroll(view, x, y);
    onCircle_ = ToImage(view, x, y);
    view.repaintView();
}

void CCircleTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (!dragging_)
        return;
    const bool onEdge =
        SnappingOn(view) && centre_ != onCircle_ &&
        AppendEdgeCircleNear(view, ExactPoint(centre_),
                             std::hypot(onCircle_.x - centre_.x, onCircle_.y - centre_.y));
    if (onEdge || Data(view).AppendCircle(centre_, onCircle_)) {
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
    clicks_[static_cast<size_t>(++lastClick_)] = ClickAt(view, x, y);
    view.repaintView();
}

void CThreePointCircleTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (lastClick_ < 2)
        return;
    if (appendCircle(view)) {
        Results::AppendRow(MeasureKind::Circle);
        Results::SelectTab(MeasureKind::Circle);
    }
    lastClick_ = -1;
    view.repaintView();
}

// With snapping on, the circle through the three snapped clicks is only a
// start: the circular edge near it is fitted all round.
bool CThreePointCircleTool::appendCircle(CMavView& view) {
    if (SnappingOn(view)) {
        const SubPixelPoint through[] = {clicks_[0].At(), clicks_[1].At(), clicks_[2].At()};
        if (const auto start = FitCircle(through);
            start && AppendEdgeCircleNear(view, start->centre, start->radius))
            return true;
    }
    const auto circle = FitThreePointCircle(clicks_[0].pixel, clicks_[1].pixel, clicks_[2].pixel);
    return circle && Data(view).AppendCircle(circle->centre, circle->onCircle);
}

void CThreePointCircleTool::OnMouseMove(CMavView& view, int, int x, int y) {
    view.setToolCursor(CursorId::Measure);
    TrackSnap(view, x, y);
}

// The clicks of the circle in progress keep their marks until it is done.
void CThreePointCircleTool::DrawOwn(CMavView&, CMeasureDrawer& drawer, QPainter&) {
    for (int i = 0; i <= lastClick_ && i < 3; ++i)
        drawer.DrawClickMarker(clicks_[static_cast<size_t>(i)].pixel);
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
    const auto first = static_cast<size_t>(2 * circle_);
    if (part_ == OnCircle) {
        Data(view).MoveElement(MeasureKind::Circle, first + 1, at);
    } else {
        for (size_t i = 0; i < 2; ++i)
            Data(view).ShiftElement(MeasureKind::Circle, first + i,
                                    {at.x - last_.x, at.y - last_.y});
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
