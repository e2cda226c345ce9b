#include "measure/ui/LineTools.h"

#include "document/MavDoc.h"
#include "document/MeasureData.h"
#include "measure/MeasureHitTest.h"
#include "measure/StraightEdge.h"
#include "measure/ui/EdgeSnap.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/MavView.h"

namespace halvera {

namespace {

// The guide length after an arrow key, or the same length for any other key.
int GuideAfterKey(int length, int key) {
    if (key == Qt::Key_Up)
        return LongerGuide(length);
    if (key == Qt::Key_Down)
        return ShorterGuide(length);
    return length;
}

} // namespace

// ---- Line

void CLineMeasureTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    view.captureMouse();
    start_ = end_ = ToImage(view, x, y);
    dragging_ = true;
}

void CLineMeasureTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::LineMeasure);
    if (!dragging_ || !LeftHeld(flags)) {
        TrackSnap(view, x, y);
        return;
    }
    AutoScroll(view, x, y);
    end_ = ToImage(view, x, y);
    view.repaintView();
}

void CLineMeasureTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (!dragging_)
        return;
    if (start_ != end_ && appendLine(view)) {
        Results::AppendRow(MeasureKind::Line);
        Results::SelectTab(MeasureKind::Line);
    }
    dragging_ = false;
    view.repaintView();
}

// With snapping on, the straight edge between the two ends, fitted along the
// whole drag; the line as drawn when there is none.
bool CLineMeasureTool::appendLine(CMavView& view) {
    if (SnappingOn(view)) {
        const auto edge = FindStraightEdge(view.document().image(), ExactPoint(start_),
                                           ExactPoint(end_), kDefaultSnapRadius);
        ShowSnapStatus(edge ? std::optional(edge->start) : std::nullopt);
        if (edge)
            return Data(view).AppendEdgeLine(edge->start, edge->end, edge->line.residual);
    }
    return Data(view).AppendLine(start_, end_);
}

void CLineMeasureTool::OnKeyDown(CMavView& view, int key, int, int) {
    const int length = GuideAfterKey(guideLength_, key);
    if (length == guideLength_)
        return;
    guideLength_ = length;
    view.repaintView();
}

void CLineMeasureTool::DrawOwn(CMavView&, CMeasureDrawer& drawer, QPainter&) {
    if (!dragging_ || start_ == end_)
        return;
    drawer.DrawLineGuides(start_, end_, guideLength_);
    drawer.DrawLineLabel(start_, end_);
}

// ---- Adjust line

bool CAdjustLineTool::holdsLine(CMavView& view) const {
    return part_ != None && line_ >= 0 && Data(view).ItemCount(MeasureKind::Line) > line_;
}

void CAdjustLineTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    const PixelPoint at = ToImage(view, x, y);
    const auto lines = Data(view).lines();
    if (const int end = HitStoredPoint(lines, at); end >= 0) {
        part_ = end % 2 == 0 ? Start : End;
        line_ = end / 2;
    } else if (const int body = HitLineBody(lines, at); body >= 0) {
        part_ = Whole;
        line_ = body;
    } else {
        return;
    }
    view.captureMouse();
    Results::SelectTab(MeasureKind::Line);
    Results::SelectRow(line_);
    copy_[0] = lines[static_cast<size_t>(2 * line_)];
    copy_[1] = lines[static_cast<size_t>(2 * line_ + 1)];
    last_ = at;
    view.repaintView();
}

void CAdjustLineTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Adjust);
    if (!LeftHeld(flags) || !holdsLine(view))
        return;
    AutoScroll(view, x, y);
    const PixelPoint at = ToImage(view, x, y);
    const PixelPoint move{at.x - last_.x, at.y - last_.y};
    const auto first = static_cast<size_t>(2 * line_);
    for (int end = 0; end < 2; ++end)
        if (part_ == Whole || part_ == end)
            Data(view).ShiftElement(MeasureKind::Line, first + static_cast<size_t>(end), move);
    Results::UpdateRow(MeasureKind::Line, line_);
    copy_[0] = Data(view).lines()[first];
    copy_[1] = Data(view).lines()[first + 1];
    last_ = at;
    view.repaintView();
}

void CAdjustLineTool::OnLButtonUp(CMavView& view, int, int, int) {
    part_ = None;
    view.releaseCapture();
    view.repaintView();
}

void CAdjustLineTool::OnKeyDown(CMavView& view, int key, int, int) {
    const int length = GuideAfterKey(guideLength_, key);
    if (length == guideLength_)
        return;
    guideLength_ = length;
    view.repaintView();
}

void CAdjustLineTool::Draw(CMavView& view, QPainter& painter) {
    CMeasureDrawer drawer(view, painter);
    if (holdsLine(view))
        drawer.DrawLineGuides(copy_[0], copy_[1], guideLength_);
    drawer.DrawAll(Data(view));
}

} // namespace halvera
