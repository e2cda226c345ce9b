#pragma once

#include "warping/WarpGeometry.h"

namespace halvera {

class CMavView;

// What the zoom, rotate and free-transform tools share on the view.

// Starts a warp tool: copies the image into the working copy and the mask
// into the saved mask, and returns the box the tool frames: the bounds of the
// saved selection, or the whole image when nothing is selected.
PixelRect BeginWarpTool(CMavView& view);

// The image pixel under client point (x, y).
PixelPoint ImagePointAt(CMavView& view, int x, int y);

// What client point (x, y) hits on the frame of `corners` (image pixels) as
// the view shows it: the first handle 0..7 (see FrameHandlePoints) within
// `tolerance` window pixels in x and in y; otherwise `inside` when the point
// lies inside the frame, else `outside`.
int HitWindowFrame(CMavView& view, const QuadCorners& corners, int x, int y, int tolerance,
                   int inside, int outside);

// A render of the rotate and free-transform tools as one undo step of image
// and mask: the image restored from the working copy, then the `source`
// rectangle of the working copy warped onto `corners`. The wait cursor shows
// meanwhile.
void RenderQuadStep(CMavView& view, const QuadCorners& source, const QuadCorners& corners);

// The end of the rotate and free-transform tools: the view repainted, and the
// warped image and mask made the starting point of whatever comes next.
void KeepWarpedImage(CMavView& view);

} // namespace halvera
