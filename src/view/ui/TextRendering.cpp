#include "view/ui/TextRendering.h"

#include "document/MavDoc.h"
#include "platform/ui/TextFont.h"
#include "view/TextStamp.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace halvera {

void RenderDocumentText(CMavDoc& doc, TextSettings& text) {
    doc.RestoreFromWorking();
    const QFont font = TextAttributesFont(text.attributes);
    const QFontMetrics metrics(font);
    const QString string = QString::fromStdString(text.text);
    text.right = text.left + metrics.horizontalAdvance(string);
    text.bottom = text.top + metrics.height();

    TextBitmap bitmap = TextBitmap::ForBox(text);
    if (bitmap.width <= 0 || bitmap.height <= 0 || string.isEmpty())
        return;
    QImage offscreen(bitmap.width, bitmap.height, QImage::Format_RGB32);
    offscreen.fill(Qt::black);
    {
        QPainter painter(&offscreen);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(0, metrics.ascent()), string);
    }
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(offscreen.constScanLine(y));
        uint8_t* white = bitmap.white.data() + static_cast<size_t>(y) * bitmap.width;
        for (int x = 0; x < bitmap.width; ++x)
            white[x] = (row[x] & 0xFFFFFFu) == 0xFFFFFFu;
    }
    StampTextBitmap(doc.image(), bitmap, text.attributes.colour);
}

} // namespace halvera
