#pragma once

#include "image/DibImage.h"

namespace halvera {

// "ROI clear": when the mask holds a region, sets every pixel byte of the mask
// and of the saved mask to 0 and returns true. Without a region nothing is
// touched and the result is false, so the caller opens no undo step.
// The saved mask may be empty; it is cleared only when it has the mask's size.
bool ClearSelection(const CDibImage& mask, const CDibImage& savedMask);

} // namespace halvera
