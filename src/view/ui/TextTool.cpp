#include "view/ui/TextTool.h"

#include "document/MavDoc.h"
#include "view/ui/AddTextDlg.h"
#include "view/ui/MavView.h"
#include "view/ui/TextRendering.h"

namespace halvera {

CTextTool::CTextTool(CMavView& view) {
    text_.attributes = Settings(view).textAttributes;
    view.document().setTextSettings(text_);
}

void CTextTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (placed_ && view.isOverImage(QPoint(x, y)))
        moveTo(view, x, y);
}

void CTextTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (placed_ || !view.isOverImage(QPoint(x, y)))
        return;
    const PixelPoint p = ImagePoint(view, x, y);
    text_.left = p.x;
    text_.top = p.y;
    placed_ = editText(view);
}

void CTextTool::OnLButtonDblClk(CMavView& view, int, int x, int y) {
    if (placed_ && view.isOverImage(QPoint(x, y)))
        editText(view);
}

void CTextTool::OnMouseMove(CMavView& view, int flags, int x, int y) {
    if (placed_ && (flags & kMouseLeftButton) && view.isOverImage(QPoint(x, y))) {
        moveTo(view, x, y);
        return;
    }
    view.setToolCursor(placed_ ? CursorId::Move : CursorId::TextPlace);
}

bool CTextTool::editText(CMavView& view) {
    CMavDoc& doc = view.document();
    CAddTextDlg dialog(
        doc, text_, [&view] { view.repaintView(); }, &view);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text_ = doc.textSettings();
    return true;
}

void CTextTool::moveTo(CMavView& view, int x, int y) {
    const PixelPoint p = ImagePoint(view, x, y);
    const int32_t width = text_.right - text_.left;
    const int32_t height = text_.bottom - text_.top;
    text_.left = p.x - width / 2;
    text_.top = p.y - height * 3 / 5;
    RenderDocumentText(view.document(), text_);
    view.document().setTextSettings(text_);
    view.repaintView();
}

} // namespace halvera
