#pragma once

#include "image/DibImage.h"

#include <QRect>

class QPainter;

namespace halvera {

// Draws the `source` rectangle (image pixels, y = 0 at the top row) of a
// 24-bit image or an 8-bit grey plane stretched onto `target` (painter
// coordinates), nearest neighbour. The image block is wrapped where it lies,
// never copied, and only the source rectangle is read, so the cost follows
// the window, not the image. An empty image or rectangle draws nothing.
void DrawDib(QPainter& painter, const CDibImage& image, const QRect& source, const QRect& target);

} // namespace halvera
