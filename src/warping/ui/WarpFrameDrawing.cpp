#include "warping/ui/WarpFrameDrawing.h"

#include "view/ui/MavView.h"

#include <QPainter>

namespace halvera {

namespace {

const QColor kFrameGreen(0, 255, 0);
constexpr int kHandleHalf = 3; // a handle square spans 7 pixels

// Offsets of the pivot marker's pixels from the pivot.
constexpr int kPivotMarker[29][2] = {
    {0, 0},  {6, 0},  {5, 0},  {4, 0},   {-6, 0}, {-5, 0}, {-4, 0},  {0, 6},   {0, 5},  {0, 4},
    {0, -6}, {0, -5}, {0, -4}, {2, 2},   {-2, 2}, {2, -2}, {-2, -2}, {-1, -3}, {0, -3}, {1, -3},
    {-1, 3}, {0, 3},  {1, 3},  {-3, -1}, {-3, 0}, {-3, 1}, {3, -1},  {3, 0},   {3, 1},
};

QPoint ToWindow(CMavView& view, PixelPoint p) {
    return view.imageToWindow(QPoint(p.x, p.y));
}

void BeginXor(QPainter& painter) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(kFrameGreen, 0));
    painter.setBrush(Qt::NoBrush);
}

} // namespace

template <size_t handleCount>
void DrawWarpFrame(CMavView& view, QPainter& painter, const QuadCorners& corners,
                   const std::array<PixelPoint, handleCount>& handles) {
    BeginXor(painter);
    QPolygon edges;
    for (const PixelPoint& corner : corners)
        edges << ToWindow(view, corner);
    painter.drawPolygon(edges);
    for (const PixelPoint& handle : handles) {
        const QPoint centre = ToWindow(view, handle);
        painter.drawRect(QRect(centre.x() - kHandleHalf, centre.y() - kHandleHalf, 2 * kHandleHalf,
                               2 * kHandleHalf));
    }
    painter.restore();
}

template void DrawWarpFrame<4>(CMavView&, QPainter&, const QuadCorners&,
                               const std::array<PixelPoint, 4>&);
template void DrawWarpFrame<8>(CMavView&, QPainter&, const QuadCorners&,
                               const std::array<PixelPoint, 8>&);

void DrawPivotMarker(CMavView& view, QPainter& painter, PixelPoint pivot) {
    const QPoint centre = ToWindow(view, pivot);
    QPolygon points;
    for (const auto& offset : kPivotMarker)
        points << centre + QPoint(offset[0], offset[1]);
    // Set, not XOR: the marker shows whatever lies under it.
    painter.save();
    painter.setPen(QPen(kFrameGreen, 0));
    painter.drawPoints(points);
    painter.restore();
}

void DrawWarpReadout(CMavView& view, QPainter& painter, const std::string& text) {
    const QPoint corner = view.clientToLogical(view.displayedImageRect().topLeft());
    painter.save();
    painter.setPen(kFrameGreen);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(corner + QPoint(10, 10 + metrics.ascent()), QString::fromStdString(text));
    painter.restore();
}

} // namespace halvera
