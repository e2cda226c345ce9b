#include "measure/ui/AngleTools.h"

#include "document/MeasureData.h"
#include "measure/MeasureHitTest.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

// ---- Angle

void CAngleTool::OnLButtonDown(CMavView& view, int flags, int x, int y) {
    if (!LeftHeld(flags) || !InClient(view, x, y) || lastClick_ >= 2)
        return;
    view.captureMouse();
    clicks_[static_cast<size_t>(++lastClick_)] = ClickAt(view, x, y);
    pointer_ = view.clientToLogical(QPoint(x, y));
    view.repaintView();
}

void CAngleTool::OnMouseMove(CMavView& view, int, int x, int y) {
    view.setToolCursor(CursorId::Measure);
    TrackSnap(view, x, y);
    if (lastClick_ < 0 || lastClick_ > 1)
        return;
    AutoScroll(view, x, y);
    pointer_ = view.clientToLogical(QPoint(x, y));
    view.repaintView();
}

void CAngleTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (lastClick_ < 2)
        return;
    // Clicks placed on edges make an angle of sub-pixel points.
    const bool onEdges = clicks_[0].edge || clicks_[1].edge || clicks_[2].edge;
    const bool stored =
        onEdges ? Data(view).AppendEdgeAngle(clicks_[0].At(), clicks_[1].At(), clicks_[2].At())
                : Data(view).AppendAngle(clicks_[0].pixel, clicks_[1].pixel, clicks_[2].pixel);
    if (stored) {
        Results::AppendRow(MeasureKind::Angle);
        Results::SelectTab(MeasureKind::Angle);
    }
    lastClick_ = -1;
    view.repaintView();
}

// The placed arm and the rubber band from the last placed point to the
// pointer, inverting the pixels under them.
void CAngleTool::DrawOwn(CMavView& view, CMeasureDrawer&, QPainter& painter) {
    if (lastClick_ < 0 || lastClick_ > 1)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    const auto window = [&view](const Click& click) {
        return view.imageToWindow(QPoint(click.pixel.x, click.pixel.y));
    };
    if (lastClick_ == 1)
        painter.drawLine(window(clicks_[0]), window(clicks_[1]));
    painter.drawLine(window(clicks_[static_cast<size_t>(lastClick_)]), pointer_);
    painter.restore();
}

// ---- Adjust angle

bool CAdjustAngleTool::holdsAngle(CMavView& view) const {
    return part_ != None && angle_ >= 0 && Data(view).ItemCount(MeasureKind::Angle) > angle_;
}

void CAdjustAngleTool::OnLButtonDown(CMavView& view, int flags, int x, int y) {
    if (!LeftHeld(flags) || !InClient(view, x, y))
        return;
    const PixelPoint at = ToImage(view, x, y);
    const int hit = HitStoredPoint(Data(view).angles(), at);
    if (hit < 0)
        return;
    view.captureMouse();
    part_ = hit % 3;
    angle_ = hit / 3;
    last_ = at;
    Results::SelectTab(MeasureKind::Angle);
    Results::SelectRow(angle_);
}

void CAdjustAngleTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Adjust);
    if (!LeftHeld(flags) || !holdsAngle(view))
        return;
    AutoScroll(view, x, y);
    const PixelPoint at = ToImage(view, x, y);
    const auto first = static_cast<size_t>(3 * angle_);
    if (part_ == Vertex) {
        for (size_t i = 0; i < 3; ++i)
            Data(view).ShiftElement(MeasureKind::Angle, first + i,
                                    {at.x - last_.x, at.y - last_.y});
    } else {
        Data(view).MoveElement(MeasureKind::Angle, first + static_cast<size_t>(part_), at);
    }
    last_ = at;
    Results::UpdateRow(MeasureKind::Angle, angle_);
    view.repaintView();
}

void CAdjustAngleTool::OnLButtonUp(CMavView& view, int, int, int) {
    part_ = None;
    view.releaseCapture();
    view.repaintView();
}

} // namespace halvera
