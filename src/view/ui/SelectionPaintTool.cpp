#include "view/ui/SelectionPaintTool.h"

#include "view/ui/MavView.h"

namespace halvera {

void CSelectionPaintTool::OnKeyDown(CMavView& view, int key, int, int) {
    if (key == Qt::Key_Control)
        setPaintValue(view, kSubtract);
}

void CSelectionPaintTool::OnKeyUp(CMavView& view, int key, int, int) {
    if (key == Qt::Key_Control)
        setPaintValue(view, kAdd);
}

void CSelectionPaintTool::setPaintValue(CMavView& view, uint8_t value) {
    paintValue_ = value;
    showCursor(view);
}

void CSelectionPaintTool::showCursor(CMavView& view) const {
    view.setToolCursor(paintValue_ == kAdd ? addCursor_ : subtractCursor_);
}

} // namespace halvera
