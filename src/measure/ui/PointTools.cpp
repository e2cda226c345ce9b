#include "measure/ui/PointTools.h"

#include "document/MeasureData.h"
#include "measure/MeasureHitTest.h"
#include "measure/ui/EdgeSnap.h"
#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

// ---- Point

void CPointTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    view.captureMouse();
    const Click click = ClickAt(view, x, y);
    const bool stored =
        click.edge ? Data(view).AppendEdgePoint(*click.edge) : Data(view).AppendPoint(click.pixel);
    if (stored) {
        Results::AppendRow(MeasureKind::Point);
        Results::SelectTab(MeasureKind::Point);
    }
    view.repaintView();
}

void CPointTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
}

void CPointTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Measure);
    if (!LeftHeld(flags)) {
        TrackSnap(view, x, y);
        return;
    }
    const size_t points = Data(view).points().size();
    if (points == 0)
        return;
    const Click click = ClickAt(view, x, y);
    if (click.edge)
        Data(view).MovePointToEdge(points - 1, *click.edge);
    else
        Data(view).MoveElement(MeasureKind::Point, points - 1, click.pixel);
    Results::UpdateRow(MeasureKind::Point, static_cast<int>(points) - 1);
    view.repaintView();
}

// ---- Adjust point

bool CAdjustPointTool::holdsPoint(CMavView& view) const {
    return selected_ >= 0 && static_cast<size_t>(selected_) < Data(view).points().size();
}

void CAdjustPointTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    const PixelPoint at = ToImage(view, x, y);
    const int hit = HitStoredPoint(Data(view).points(), at);
    if (hit < 0)
        return;
    view.captureMouse();
    selected_ = hit;
    Data(view).MoveElement(MeasureKind::Point, static_cast<size_t>(hit), at);
    Results::SelectTab(MeasureKind::Point);
    Results::SelectRow(hit);
    view.repaintView();
}

void CAdjustPointTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    selected_ = -1;
    view.repaintView();
}

void CAdjustPointTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Adjust);
    if (!LeftHeld(flags) || !holdsPoint(view))
        return;
    AutoScroll(view, x, y);
    Data(view).MoveElement(MeasureKind::Point, static_cast<size_t>(selected_), ToImage(view, x, y));
    Results::UpdateRow(MeasureKind::Point, selected_);
    view.repaintView();
}

void CAdjustPointTool::DrawOwn(CMavView& view, CMeasureDrawer&, QPainter& painter) {
    if (!holdsPoint(view))
        return;
    const PixelPoint p = Data(view).points()[static_cast<size_t>(selected_)];
    const QPoint w = view.imageToWindow(QPoint(p.x, p.y));
    painter.setPen(QPen(Qt::red, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(w.x() - 3, w.y() - 3, 6, 6));
}

// ---- Point to point

// With snapping on, a press that grabs no stored point places a point on the
// edge near it and takes that one.
int CPointToPointTool::pointAt(CMavView& view, int x, int y) {
    const int hit = HitStoredPoint(Data(view).points(), ToImage(view, x, y));
    if (hit >= 0 || !SnappingOn(view))
        return hit;
    const Click click = ClickAt(view, x, y);
    if (!click.edge || !Data(view).AppendEdgePoint(*click.edge))
        return -1;
    Results::AppendRow(MeasureKind::Point);
    return Data(view).ItemCount(MeasureKind::Point) - 1;
}

void CPointToPointTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    const int hit = pointAt(view, x, y);
    if (hit < 0)
        return;
    if (phase_ == 0) {
        first_ = hit;
        phase_ = 1;
    } else if (hit != first_) {
        second_ = hit;
        Data(view).AppendPointPair(first_, second_);
        phase_ = 0;
    }
    view.repaintView();
}

void CPointToPointTool::OnMouseMove(CMavView& view, int, int x, int y) {
    view.setToolCursor(CursorId::Adjust);
    TrackSnap(view, x, y);
}

} // namespace halvera
