#pragma once

#include "image/PixelGeometry.h"

#include <QPoint>
#include <vector>

class QPainter;

namespace halvera {

class CMavView;

// Draws, in XOR with a white one-pixel pen, the path through `vertices` (image
// pixels) and on to the pointer at `pointerClient` (client pixels): the rubber
// outline of the lasso and of the polygon tool. Drawing it twice erases it.
// Nothing is drawn for no vertices; a single point is drawn as one pixel.
void DrawRubberPath(QPainter& painter, const CMavView& view,
                    const std::vector<PixelPoint>& vertices, QPoint pointerClient);

} // namespace halvera
