#include "view/ui/RulerSignTool.h"

#include "document/MavDoc.h"
#include "view/ui/MavView.h"

#include <algorithm>
#include <cstdlib>

namespace halvera {

namespace {

constexpr int kGrabReach = 6;
constexpr int kMinEndGap = 5;

} // namespace

CRulerSignTool::CRulerSignTool(CMavView& view)
    : scale_(RulerSignScaleFrom(Settings(view))),
      bar_(ChooseRulerSignBar(scale_, view.document().width())),
      colour_(static_cast<ColourRef>(Settings(view).SignColor)), canvas_(Canvas(view, colour_)) {
    CMavDoc& doc = view.document();
    wasModified_ = doc.IsModified();
    view.selection().setKind(StepKind::Image);
    stepOpen_ = doc.BeginImageStep(view.selection());
}

void CRulerSignTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!bar_.available() || !view.isOverImage(QPoint(x, y)))
        return;
    view.captureMouse();
    const PixelPoint p = ImagePoint(view, x, y);
    if (!placed_) {
        placed_ = true;
        left_ = p;
        draw(view);
    }
    grabbed_ = partAt(p);
    grabPoint_ = p;
}

void CRulerSignTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    const bool over = view.isOverImage(QPoint(x, y));
    const PixelPoint p = ImagePoint(view, x, y);
    if (!(flags & kMouseLeftButton)) {
        if (!placed_)
            view.setToolCursor(CursorId::Measure);
        else
            view.setToolCursor(partAt(p) == Part::Bar ? CursorId::Move
                                                      : CursorId::ResizeHorizontal);
        return;
    }
    if (!placed_ || !over)
        return;
    const int32_t right = left_.x + bar_.pixels;
    switch (grabbed_) {
    case Part::LeftEnd: {
        const int32_t newLeft = std::min(p.x, right - kMinEndGap);
        bar_ = RulerSignBarForLength(scale_, right - newLeft);
        left_.x = right - bar_.pixels;
        break;
    }
    case Part::RightEnd: {
        const int32_t newRight = std::max(p.x, left_.x + kMinEndGap);
        bar_ = RulerSignBarForLength(scale_, newRight - left_.x);
        break;
    }
    case Part::Bar:
        left_.x += p.x - grabPoint_.x;
        left_.y += p.y - grabPoint_.y;
        break;
    }
    grabPoint_ = p;
    view.document().RestoreFromWorking();
    draw(view);
}

void CRulerSignTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
}

void CRulerSignTool::Finish(CMavView& view) {
    CMavDoc& doc = view.document();
    if (stepOpen_) {
        if (placed_) {
            view.selection().clearTail();
            doc.EndImageStep(view.selection());
        } else {
            // Nothing was drawn: no empty step in the history.
            doc.CancelStep();
            doc.SetModifiedFlag(wasModified_);
        }
    }
    stepOpen_ = false;
    view.repaintView();
}

CRulerSignTool::Part CRulerSignTool::partAt(PixelPoint p) const {
    const auto near = [&](int32_t endX) {
        return std::abs(p.x - endX) <= kGrabReach && std::abs(p.y - left_.y) <= kGrabReach;
    };
    if (near(left_.x))
        return Part::LeftEnd;
    if (near(left_.x + bar_.pixels))
        return Part::RightEnd;
    return Part::Bar;
}

void CRulerSignTool::draw(CMavView& view) {
    DrawRulerSign(canvas_, left_, bar_, scale_.unit);
    view.repaintView();
}

} // namespace halvera
