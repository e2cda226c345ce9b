#pragma once

#include "image/DibImage.h"

namespace halvera {

// A box mean on each channel. The window size n (at least 1) is made odd by
// adding 1 when even and limited to 15; the window is the square of side n
// centred on the pixel (the menu command passes 4: a 5 x 5 window). Window
// positions outside the image are skipped, not replicated, so the window
// shrinks near the borders (a corner of a 5 x 5 mean averages 9 pixels).
// Each channel becomes sum / count, rounded down. Reads `source` (the working
// copy), writes the selected pixels of `destination`; not in place.
// False, with nothing touched, for a window size below 1 or images that do
// not fit together.
bool FilterAverage(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                   int windowSize);

} // namespace halvera
