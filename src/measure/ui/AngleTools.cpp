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
    points_[static_cast<size_t>(++lastClick_)] = ToImage(view, x, y);
    pointer_ = view.clientToLogical(QPoint(x, y));
    view.repaintView();
}

void CAngleTool::OnMouseMove(CMavView& view, int, int x, int y) {
    view.setToolCursor(CursorId::Measure);
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
    if (Data(view).AppendAngle(points_[0], points_[1], points_[2])) {
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
    const auto window = [&view](PixelPoint p) {
        return view.imageToWindow(QPoint(p.x, p.y));
    };
    if (lastClick_ == 1)
        painter.drawLine(window(points_[0]), window(points_[1]));
    painter.drawLine(window(points_[static_cast<size_t>(lastClick_)]), pointer_);
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
    PixelPoint* angle = &Data(view).mutableAngles()[static_cast<size_t>(3 * angle_)];
    if (part_ == Vertex) {
        for (int i = 0; i < 3; ++i) {
            angle[i].x += at.x - last_.x;
            angle[i].y += at.y - last_.y;
        }
    } else {
        angle[part_] = at;
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
