#include "measure/ui/EdgeSnap.h"

#include "document/MavDoc.h"
#include "measure/EdgePoint.h"
#include "measure/MeasureNumber.h"
#include "view/ui/FrameServices.h"
#include "view/ui/MavView.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace halvera {

namespace {

constexpr int kMessagePane = 0;
constexpr double kMarkSize = 4.0; // window pixels from the centre to a corner

} // namespace

bool SnappingOn(const CMavView& view) {
    return view.document().settings().SnapToEdges != 0;
}

std::optional<SubPixelPoint> EdgeNear(const CMavView& view, PixelPoint at) {
    const auto edge = FindEdgePoint(view.document().image(), ExactPoint(at), kDefaultSnapRadius);
    if (!edge)
        return std::nullopt;
    return *edge;
}

void ShowSnapStatus(const std::optional<SubPixelPoint>& edge) {
    FrameServices* frame = Frame();
    if (!frame)
        return;
    const std::string text =
        edge ? "Edge at " + FormatDecimals(edge->x, 2) + ", " + FormatDecimals(edge->y, 2)
             : std::string("No edge near the pointer");
    frame->setStatusPaneText(kMessagePane, QString::fromStdString(text));
}

// A pixel's window square starts at imageToWindow; its centre, where the
// pixel's position lies, is half a zoomed pixel further.
QPointF SubPixelToWindow(const CMavView& view, SubPixelPoint p) {
    const PixelPoint pixel = NearestPixel(p);
    const QPoint window = view.imageToWindow(QPoint(pixel.x, pixel.y));
    const double zoom = view.zoomFactor();
    return {window.x() + (p.x - pixel.x + 0.5) * zoom, window.y() + (p.y - pixel.y + 0.5) * zoom};
}

void DrawSnapMark(const CMavView& view, QPainter& painter, SubPixelPoint p) {
    const QPointF at = SubPixelToWindow(view, p);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::yellow, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygonF{{at.x() - kMarkSize, at.y()},
                                  {at.x(), at.y() - kMarkSize},
                                  {at.x() + kMarkSize, at.y()},
                                  {at.x(), at.y() + kMarkSize}});
    painter.restore();
}

} // namespace halvera
