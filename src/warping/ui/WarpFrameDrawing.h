#pragma once

#include "warping/WarpGeometry.h"

#include <string>

class QPainter;

namespace halvera {

class CMavView;

// The drawing the warping tools share. Frames are drawn in green with XOR
// (drawing twice erases), in the logical window coordinates of a tool's Draw.

// The four edges of `corners` (image pixels) and a 7 x 7 square outline
// centred on each point of `handles` (image pixels).
template <size_t handleCount>
void DrawWarpFrame(CMavView& view, QPainter& painter, const QuadCorners& corners,
                   const std::array<PixelPoint, handleCount>& handles);

// The pivot of the free-transform tool: 29 green pixels set in a cross and ring.
void DrawPivotMarker(CMavView& view, QPainter& painter, PixelPoint pivot);

// A read-out (UTF-8 text) in green on a transparent background at the
// displayed image's top-left corner plus (10, 10).
void DrawWarpReadout(CMavView& view, QPainter& painter, const std::string& text);

} // namespace halvera
