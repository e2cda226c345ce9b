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
    if (!placed_ || !view.isOverImage(QPoint(x, y)))
        return;
    moving_ = true;
    moveTo(view, x, y);
}

void CTextTool::OnLButtonUp(CMavView& view, int, int x, int y) {
    if (moving_) {
        moving_ = false;
        endStep(view);
        return;
    }
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
    if (moving_ && (flags & kMouseLeftButton) && view.isOverImage(QPoint(x, y))) {
        moveTo(view, x, y);
        return;
    }
    view.setToolCursor(placed_ ? CursorId::Move : CursorId::TextPlace);
}

// A move cut short by another tool or command keeps the text where it is,
// as a step of its own.
void CTextTool::Finish(CMavView& view) {
    if (!moving_)
        return;
    moving_ = false;
    endStep(view);
}

bool CTextTool::editText(CMavView& view) {
    CMavDoc& doc = view.document();
    const bool hadText = placed_ && !text_.text.empty();
    selectionBefore_ = view.selection();
    beginStep(view);
    CAddTextDlg dialog(
        doc, text_, [&view] { view.repaintView(); }, &view);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (accepted)
        text_ = doc.textSettings();
    else if (hadText)
        RenderDocumentText(doc, text_); // Cancel took the placed text away too
    // An empty text where there was none changed nothing: no step for it.
    if (accepted && (hadText || !text_.text.empty()))
        endStep(view);
    else
        cancelStep(view);
    view.repaintView();
    return accepted;
}

// The first change of a move opens its step, so a press that leaves the text
// where it was records nothing.
void CTextTool::moveTo(CMavView& view, int x, int y) {
    const PixelPoint p = ImagePoint(view, x, y);
    const int32_t width = text_.right - text_.left;
    const int32_t height = text_.bottom - text_.top;
    const int32_t left = p.x - width / 2;
    const int32_t top = p.y - height * 3 / 5;
    if (left == text_.left && top == text_.top)
        return;
    if (!stepBegun_)
        beginStep(view);
    text_.left = left;
    text_.top = top;
    RenderDocumentText(view.document(), text_);
    view.document().setTextSettings(text_);
    view.repaintView();
}

void CTextTool::beginStep(CMavView& view) {
    view.selection().setKind(StepKind::Image);
    stepBegun_ = true;
    stepRecorded_ = view.document().BeginImageStep(view.selection());
}

void CTextTool::endStep(CMavView& view) {
    view.selection().clearTail();
    if (stepRecorded_)
        view.document().EndImageStep(view.selection());
    stepBegun_ = stepRecorded_ = false;
}

// Only a step this tool recorded is dropped: without one, CancelStep would
// take away the step of an earlier command.
void CTextTool::cancelStep(CMavView& view) {
    if (stepRecorded_)
        view.document().CancelStep();
    stepBegun_ = stepRecorded_ = false;
    view.selection() = selectionBefore_;
}

} // namespace halvera
