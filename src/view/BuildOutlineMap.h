#pragma once

#include "image/DibImage.h"

#include <cstdint>

namespace halvera {

// Where the displayed part of the image lies, in the terms of the view's
// last paint: the image pixel at the top left of the destination rectangle,
// the zoom factor, the destination size in window pixels and the client size.
struct OutlineViewport {
    int32_t sourceX = 0;
    int32_t sourceY = 0;
    double zoom = 1.0;
    int32_t width = 0;  // destination width = map width
    int32_t height = 0; // destination height = map height
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
};

// Builds the outline map of the selection for one paint: an 8-bit plane of
// the destination size, rows from the top of the displayed image downward,
// 255 on the pixels where the animated outline is drawn, 0 elsewhere.
//
// The mask is sampled by nearest neighbour: map pixel (j, i) shows mask pixel
// (trunc(sourceX + j / zoom), trunc(sourceY + i / zoom)); samples outside the
// mask are 0. A sampled 255 is an outline pixel when one of its four
// neighbours is 0; on the first and last map row it is one exactly when the
// map is less high than the client area, on the first and last column exactly
// when it is narrower, whatever its neighbours. So the outline closes along an
// image border only where that border is visible.
//
// `outline` is reused when it already has the size, otherwise recreated.
// False (and `outline` released: no outline this paint) when the viewport is
// empty or memory is short.
bool BuildOutlineMap(DibBlock& outline, const CDibImage& mask, const OutlineViewport& viewport);

} // namespace halvera
