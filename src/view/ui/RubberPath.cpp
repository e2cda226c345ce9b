#include "view/ui/RubberPath.h"

#include "view/ui/MavView.h"

#include <QPainter>
#include <QPolygon>

namespace halvera {

void DrawRubberPath(QPainter& painter, const CMavView& view,
                    const std::vector<PixelPoint>& vertices, QPoint pointerClient) {
    if (vertices.empty())
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 0));
    QPolygon path;
    path.reserve(static_cast<int>(vertices.size()) + 1);
    for (const PixelPoint& p : vertices)
        path << view.imageToWindow(QPoint(p.x, p.y));
    // The edge that follows the pointer from the last vertex.
    const QPoint pointer = view.clientToLogical(pointerClient);
    if (pointer != path.back())
        path << pointer;
    if (path.size() == 1)
        painter.drawPoint(path.front());
    else
        painter.drawPolyline(path);
    painter.restore();
}

} // namespace halvera
