#include "view/ui/DrawDib.h"

#include <QImage>
#include <QPainter>

namespace halvera {

namespace {

// The rows wrapped as they lie: bottom-up, so QImage row r is image row
// height - 1 - r. The const constructor never detaches (no copy).
QImage WrapRows(const CDibImage& image) {
    const uchar* bits = image.bits;
    if (image.bitCount() == 24)
        return QImage(bits, image.width(), image.height, image.stride, QImage::Format_BGR888);
    if (image.bitCount() == 8) // the planes carry the grey ramp as their palette
        return QImage(bits, image.width(), image.height, image.stride, QImage::Format_Grayscale8);
    return {};
}

} // namespace

void DrawDib(QPainter& painter, const CDibImage& image, const QRect& source, const QRect& target) {
    if (image.empty() || source.isEmpty() || target.isEmpty())
        return;
    const QImage rows = WrapRows(image);
    if (rows.isNull())
        return;
    // Image rows from the top are QImage rows from the bottom: take the source
    // span mirrored and draw it through a vertical flip onto the target.
    const QRect mirrored(source.x(), image.height - source.y() - source.height(), source.width(),
                         source.height());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, target.y() + target.height()), true);
    painter.drawImage(QRect(target.x(), 0, target.width(), target.height()), rows, mirrored);
    painter.restore();
}

} // namespace halvera
