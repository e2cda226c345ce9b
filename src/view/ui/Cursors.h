#pragma once

#include <QCursor>
#include <span>

namespace halvera {

// Every mouse cursor of the program, numbered by its resource id. The images
// are drawn here at first use (32 x 32, black line art with a white halo so
// they show on any image) and shared afterwards.
enum class CursorId : int {
    Magnifier = 131,       // magnifying glass tool
    RoiCut = 136,          // scissors: ROI cut tool
    LineMeasure = 142,     // crosshair with a segment: line measurement tool
    Measure = 145,         // crosshair with ticks: measuring and placing
    ZoomIn = 146,          // glass with plus
    ZoomOut = 147,         // glass with minus
    ZoomLimit = 148,       // glass crossed out: no further zoom
    Eyedropper = 153,      // pipette, hot spot at its tip
    Lasso = 179,           // lasso adding to the selection; polygon drawing
    MarqueeAdd = 185,      // thin crosshair: marquee adding; rectangles and ellipses
    LassoSubtract = 186,   // lasso with minus
    MarqueeSubtract = 187, // thin crosshair with minus
    Move = 190,            // four-headed arrow
    Pencil = 194,          // pencil, hot spot at its tip
    Adjust = 209,          // target: grabbing a point, node or pivot
    Fill = 210,            // paint bucket, hot spot at the drop
    RotateUpRight = 215,   // rotate cursors, one per direction around the centre
    RotateFree = 216,      // rotation without a direction (circular arrow)
    Calibration = 217,     // right-angled ruler, hot spot at its corner
    RotateDownLeft = 218,
    RotateDownRight = 219,
    RotateLeft = 220,
    RotateRight = 221,
    RotateUp = 222,
    RotateUpLeft = 223,
    RotateDown = 224,
    ResizeRising = 225, // resize along the / diagonal
    ResizeVertical = 226,
    ResizeFalling = 227, // resize along the \ diagonal
    ResizeHorizontal = 228,
    ResizeCorner = 229, // both diagonals: a corner handle
    TextPlace = 284,    // I-beam: placing a text
};

// The cursor of `id`, created on the first request.
const QCursor& CursorFor(CursorId id);

// Every id above, in increasing order.
std::span<const CursorId> AllCursorIds();

// The rotate cursor for octant 0..7 (directions counter-clockwise from +x,
// y up, in 45 degree steps) of the pointer around the rotation centre.
CursorId RotateCursorForOctant(int octant);

} // namespace halvera
