#pragma once

#include "image/PixelGeometry.h"

#include <QPointF>
#include <optional>

class QPainter;

namespace halvera {

class CMavView;

// "Snap to edges" in the measurement tools: whether it is on (the
// SnapToEdges setting) and where a click lands when it is.

bool SnappingOn(const CMavView& view);

// The edge point nearest image point `at`, within the snap radius (8 image
// pixels), on the view's image; nothing when none is found there.
std::optional<SubPixelPoint> EdgeNear(const CMavView& view, PixelPoint at);

// "Edge at X, Y" with two decimals in the main window's message pane, or
// "No edge near the pointer" when there is none.
void ShowSnapStatus(const std::optional<SubPixelPoint>& edge);

// The logical window point that shows sub-pixel image position `p`.
QPointF SubPixelToWindow(const CMavView& view, SubPixelPoint p);

// The mark of a snapped position: a small yellow diamond around it, apart
// from the measurement colours so that it shows over the items.
void DrawSnapMark(const CMavView& view, QPainter& painter, SubPixelPoint p);

} // namespace halvera
