#include "view/ui/RoiOutline.h"

#include <QPainter>
#include <QPolygon>

namespace halvera {

QRect RoiOutline::Paint(QPainter& painter, const CDibImage& map, QPoint origin) const {
    if (map.empty() || map.bitCount() != 8)
        return {};
    QPolygon white;
    QPolygon black;
    const int32_t width = map.width();
    for (int32_t i = 0; i < map.height; ++i) {
        const uint8_t* row = map.row(i);
        for (int32_t j = 0; j < width; ++j) {
            if (row[j] != 255)
                continue;
            (IsWhite(j, i, phase_) ? white : black).append(origin + QPoint(j, i));
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::white, 0));
    painter.drawPoints(white);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawPoints(black);
    painter.restore();
    return (white.boundingRect() | black.boundingRect());
}

} // namespace halvera
