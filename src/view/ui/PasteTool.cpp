#include "view/ui/PasteTool.h"

#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "view/PasteImage.h"
#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

void CPasteTool::Apply(CMavView& view) const {
    CMavDoc& doc = view.document();
    doc.RestoreFromWorking();
    PasteImage(doc.image(), doc.pasteImage(), doc.mask(), position_);
}

void CPasteTool::PasteAsStep(CMavView& view) {
    RunImageCommand(view.document(), view.selection(), false, [&] { Apply(view); });
    view.repaintView();
}

void CPasteTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    const QPoint pointer = view.windowToImage(QPoint(x, y));
    dragOffset_ = {pointer.x() - position_.x, pointer.y() - position_.y};
    dragging_ = true;
    view.repaintView();
}

void CPasteTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    view.setToolCursor(CursorId::Move);
    if (!dragging_ || !(flags & kMouseLeftButton))
        return;
    const QPoint pointer = view.windowToImage(QPoint(x, y));
    position_ = {pointer.x() - dragOffset_.x, pointer.y() - dragOffset_.y};
    view.repaintView();
}

void CPasteTool::OnLButtonUp(CMavView& view, int, int, int) {
    if (!dragging_)
        return;
    dragging_ = false;
    PasteAsStep(view);
}

void CPasteTool::Draw(CMavView& view, QPainter& painter) {
    const CDibImage paste = view.document().pasteImage();
    if ((!dragging_ && !movedByKeys_) || paste.empty())
        return;
    const QRect frame =
        view.imageRectToWindow(QRect(position_.x, position_.y, paste.width(), paste.height));
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.restore();
}

void CPasteTool::OnKeyDown(CMavView& view, int key, int, int) {
    PixelPoint step;
    switch (key) {
    case Qt::Key_Left:
        step = {-1, 0};
        break;
    case Qt::Key_Up:
        step = {0, -1};
        break;
    case Qt::Key_Right:
        step = {1, 0};
        break;
    case Qt::Key_Down:
        step = {0, 1};
        break;
    default:
        return;
    }
    movedByKeys_ = true;
    position_ = {position_.x + step.x, position_.y + step.y};
    view.repaintView();
}

void CPasteTool::OnKeyUp(CMavView& view, int, int, int) {
    if (!movedByKeys_)
        return;
    movedByKeys_ = false;
    Apply(view);
    view.document().SetModifiedFlag(true);
    view.repaintView();
}

} // namespace halvera
