#pragma once

#include "print/PrintLayout.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

namespace halvera {

// The free title line of an image page, in layout units: its text, font
// (20 units high, so it scales with the page), colour and where it stands.
struct PrintTitle {
    QString text;
    QFont font = DefaultTitleFont();
    QColor colour = Qt::black;
    LayoutRect rect;
    // Set once the user drags the title; until then it stands above the picture.
    bool placedByUser = false;

    // Arial (or its metric twin), 20 layout units, normal weight.
    static QFont DefaultTitleFont();
};

// The title's extent in layout units: its text's advance and its font's line height.
int TitleWidth(const PrintTitle& title);
int TitleHeight(const PrintTitle& title);

// Draws the title on `painter`, whose coordinates are layout units: the
// rectangle first grows or shrinks to fit the text (its top-left corner
// stays), then the text is drawn left-aligned in it on no background.
void DrawPrintTitle(QPainter& painter, PrintTitle& title);

} // namespace halvera
