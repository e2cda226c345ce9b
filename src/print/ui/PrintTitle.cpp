#include "print/ui/PrintTitle.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

namespace halvera {

QFont PrintTitle::DefaultTitleFont() {
    const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                               ? QStringLiteral("Arial")
                               : QStringLiteral("Liberation Sans");
    QFont font(family);
    font.setPixelSize(20);
    font.setWeight(QFont::Normal);
    return font;
}

int TitleWidth(const PrintTitle& title) {
    return QFontMetrics(title.font).horizontalAdvance(title.text);
}

int TitleHeight(const PrintTitle& title) {
    return QFontMetrics(title.font).height();
}

void DrawPrintTitle(QPainter& painter, PrintTitle& title) {
    const QFontMetrics metrics(title.font);
    title.rect.right = title.rect.left + TitleWidth(title);
    title.rect.bottom = title.rect.top + TitleHeight(title);
    if (title.text.isEmpty())
        return;
    painter.save();
    painter.setFont(title.font);
    painter.setPen(title.colour);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(title.rect.left, title.rect.top + metrics.ascent(), title.text);
    painter.restore();
}

} // namespace halvera
