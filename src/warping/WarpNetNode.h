#pragma once

#include "image/DibImage.h"
#include "image/RegionOfInterest.h"
#include "warping/NetGrid.h"

namespace halvera {

// Re-renders the four grid cells around an interior `node` of `grid` into
// `image` from `working`, as the net-warping dialog does when a node is let go.
//
// Node positions are scaled from the preview to the image (relative to the
// preview's top-left corner, times image size / preview size, truncated).
// Each cell's destination is the rectangle of its scaled reference corners;
// each corner's source point is 2 × reference − moved, so content follows the
// moved node and the bend fades out towards the cell's other corners. The
// cells are drawn with WarpCellBilinear in the order lower-left, lower-right,
// upper-right, upper-left of the node; pixels are limited as there, the
// region honoured and the mask left unchanged. Only the four cells are
// touched. `roi` is built once from the document's mask by the caller, which
// keeps it while the grid lives (looking the region up reads the whole mask).
//
// A node on the border or outside the grid, or an empty preview, changes
// nothing and is not a failure. False, with nothing touched, when the buffers
// do not match (see WarpBuffers.h) or a work table cannot be allocated.
bool WarpNetNode(const NetGrid& grid, NetNode node, const CDibImage& image,
                 const CDibImage& working, const RegionOfInterest& roi);

} // namespace halvera
