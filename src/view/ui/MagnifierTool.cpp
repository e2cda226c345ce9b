#include "view/ui/MagnifierTool.h"

#include "view/ui/MavView.h"

#include <QPainter>
#include <QPainterPath>

namespace halvera {

namespace {

const QColor kBackground(128, 128, 128);

} // namespace

QImage CMagnifierTool::ComposeGlass(const CMavView& view, QPoint centre) {
    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    frame.fill(kBackground);
    QPainter painter(&frame);
    view.paintImage(painter);

    // The window pixels under the glass, grey where they lie beyond the window.
    constexpr int kHalfSource = kSourceSide / 2;
    QImage source(kSourceSide, kSourceSide, QImage::Format_RGB32);
    source.fill(kBackground);
    {
        QPainter sourcePainter(&source);
        sourcePainter.translate(kHalfSource - centre.x(), kHalfSource - centre.y());
        view.paintImage(sourcePainter);
    }

    constexpr int kHalfGlass = kGlassSide / 2;
    QPainterPath glass;
    glass.addEllipse(QPointF(centre), kGlassRadius, kGlassRadius);
    painter.setClipPath(glass);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(
        QRect(centre.x() - kHalfGlass, centre.y() - kHalfGlass, kGlassSide, kGlassSide), source);
    painter.end();
    return frame;
}

void CMagnifierTool::ShowGlass(CMavView& view, QPoint centre) {
    view.setToolCursor(CursorId::Magnifier);
    view.presentFrame(ComposeGlass(view, centre));
}

void CMagnifierTool::OnMouseMove(CMavView& view, int, int x, int y) {
    ShowGlass(view, QPoint(x, y));
}

// A press shows the glass at once, also where the pointer has not moved yet.
void CMagnifierTool::OnLButtonDown(CMavView& view, int, int x, int y) {
    ShowGlass(view, QPoint(x, y));
}

void CMagnifierTool::OnLButtonDblClk(CMavView& view, int, int, int) {
    view.endTool();
    view.repaintView();
    view.setArrowCursor();
}

void CMagnifierTool::Finish(CMavView& view) {
    view.repaintView();
}

} // namespace halvera
