#include "view/ui/MouseTool.h"

#include "view/ui/MavView.h"

namespace halvera {

void CMouseTool::OnLButtonDblClk(CMavView&, int, int, int) {}

void CMouseTool::OnLButtonDown(CMavView&, int, int, int) {}

void CMouseTool::OnLButtonUp(CMavView&, int, int, int) {}

void CMouseTool::OnMouseMove(CMavView& view, int, int, int) {
    view.setArrowCursor();
}

void CMouseTool::OnTimer(CMavView&, int) {}

void CMouseTool::Draw(CMavView&, QPainter&) {}

void CMouseTool::OnKeyDown(CMavView&, int, int, int) {}

void CMouseTool::OnKeyUp(CMavView&, int, int, int) {}

void CMouseTool::Finish(CMavView&) {}

void CMouseTool::AutoScroll(CMavView& view, int x, int y) {
    const PixelPoint target = view.placement().AutoScrollPosition({x, y});
    view.scrollTo(QPoint(target.x, target.y));
}

} // namespace halvera
