#include "measure/ui/WidthTool.h"

#include "document/MavDoc.h"
#include "measure/EdgeWidth.h"
#include "measure/MeasureNumber.h"
#include "measure/ui/EdgeSnap.h"
#include "measure/ui/MeasureDrawer.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MavView.h"

namespace halvera {

namespace {

constexpr int kMessagePane = 0;

void ShowWidthStatus(const std::string& text) {
    if (FrameServices* frame = Frame())
        frame->setStatusPaneText(kMessagePane, QString::fromStdString(text));
}

} // namespace

void CWidthTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!InClient(view, x, y))
        return;
    view.captureMouse();
    start_ = end_ = ToImage(view, x, y);
    dragging_ = true;
}

void CWidthTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::LineMeasure);
    if (!dragging_ || !LeftHeld(flags))
        return;
    AutoScroll(view, x, y);
    end_ = ToImage(view, x, y);
    view.repaintView();
}

void CWidthTool::OnLButtonUp(CMavView& view, int, int, int) {
    view.releaseCapture();
    if (!dragging_)
        return;
    dragging_ = false;
    if (start_ != end_) {
        const auto width = MeasureEdgeWidth(view.document().image(), ExactPoint(start_),
                                            ExactPoint(end_), kDefaultSnapRadius);
        if (!width) {
            ShowWidthStatus("No width: " + EdgeMissText(width.miss(), kDefaultSnapRadius));
        } else if (Data(view).AppendEdgeLine(width->start, width->end, width->residual)) {
            ShowWidthStatus("Width from " + FormatDecimals(width->start.x, 2) + ", " +
                            FormatDecimals(width->start.y, 2) + " to " +
                            FormatDecimals(width->end.x, 2) + ", " +
                            FormatDecimals(width->end.y, 2));
            Results::AppendRow(MeasureKind::Line);
            Results::SelectTab(MeasureKind::Line);
        }
    }
    view.repaintView();
}

// The drag in progress, as a plain segment.
void CWidthTool::DrawOwn(CMavView&, CMeasureDrawer& drawer, QPainter&) {
    if (dragging_ && start_ != end_)
        drawer.DrawLineGuides(start_, end_, 0);
}

} // namespace halvera
