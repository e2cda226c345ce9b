#include "view/ui/ArrowSignTool.h"

#include "document/MavDoc.h"
#include "view/ArrowSign.h"
#include "view/ui/MavView.h"

#include <numbers>

namespace halvera {

CArrowSignTool::CArrowSignTool(AppSettings& settings)
    : settings_(settings), size_(settings.arrowSignSize), angle_(settings.arrowSignAngle) {}

CArrowSignTool::~CArrowSignTool() {
    settings_.arrowSignSize = size_;
    settings_.arrowSignAngle = angle_;
}

void CArrowSignTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    if (!view.isOverImage(QPoint(x, y)))
        return;
    colour_ = static_cast<ColourRef>(settings_.SignColor);
    tip_ = ImagePoint(view, x, y);
    placed_ = true;
    place(view);
}

void CArrowSignTool::OnMouseMove(CMavView& view, int, int x, int y) {
    if (view.isOverImage(QPoint(x, y)))
        view.setToolCursor(CursorId::Measure);
    else
        view.setArrowCursor();
}

void CArrowSignTool::OnKeyDown(CMavView& view, int key, int, int) {
    switch (key) {
    case Qt::Key_Left:
        angle_ -= std::numbers::pi / 4;
        break;
    case Qt::Key_Right:
        angle_ += std::numbers::pi / 4;
        break;
    case Qt::Key_Up:
        if (size_ < kMaxArrowSize)
            ++size_;
        break;
    case Qt::Key_Down:
        if (size_ > kMinArrowSize)
            --size_;
        break;
    default:
        return;
    }
    // Before the first click there is no arrow to turn or resize.
    if (placed_)
        place(view);
}

void CArrowSignTool::place(CMavView& view) {
    CMavDoc& doc = view.document();
    PaintAsStep(view, [&] {
        doc.RestoreFromWorking();
        DrawArrowSign(Canvas(view, colour_), tip_, size_, angle_);
        return true;
    });
}

} // namespace halvera
