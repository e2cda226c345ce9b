#include "view/ui/PencilTool.h"

#include "document/MavDoc.h"
#include "view/Brush.h"
#include "view/ui/MavView.h"

namespace halvera {

void CPencilTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (stroking() || !view.isOverImage(QPoint(x, y)))
        return;
    view.captureMouse();
    const AppSettings& settings = Settings(view);
    size_ = settings.PencilSize;
    canvas_.emplace(Canvas(view, static_cast<ColourRef>(settings.SignColor)));
    last_ = ImagePoint(view, x, y);
    // The step stays open for the whole stroke: press, moves and release.
    view.selection().setKind(StepKind::Image);
    stepOpen_ = view.document().BeginImageStep(view.selection());
    StampBrush(*canvas_, last_, size_);
    view.repaintView();
}

void CPencilTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Pencil);
    if (!stroking() || !(flags & kMouseLeftButton))
        return;
    AutoScroll(view, x, y);
    const PixelPoint point = ImagePoint(view, x, y);
    StrokeLine(*canvas_, last_, point, size_);
    last_ = point;
    view.repaintView();
}

void CPencilTool::OnLButtonUp(CMavView& view, int, int, int) {
    if (!stroking())
        return;
    endStroke(view);
    view.releaseCapture();
}

void CPencilTool::OnKeyDown(CMavView& view, int key, int, int) {
    int& size = Settings(view).PencilSize;
    if (key == Qt::Key_Up && size < kMaxBrushSize)
        ++size;
    else if (key == Qt::Key_Down && size > kMinBrushSize)
        --size;
}

void CPencilTool::Finish(CMavView& view) {
    if (!stroking())
        return;
    endStroke(view);
    view.releaseCapture();
}

void CPencilTool::endStroke(CMavView& view) {
    canvas_.reset();
    view.selection().clearTail();
    if (stepOpen_)
        view.document().EndImageStep(view.selection());
    stepOpen_ = false;
    view.repaintView();
}

} // namespace halvera
