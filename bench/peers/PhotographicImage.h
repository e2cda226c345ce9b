#pragma once

#include "image/DibImage.h"

namespace halvera::peers {

// A deterministic 24-bit picture that looks like a stained microscope field:
// smooth colour gradients, round cells with darker nuclei and a little sensor
// noise, so that filters, the median and JPEG see photographic statistics
// rather than a ramp. `seed` varies the cells, giving a second operand.
DibBlock MakePhotographicImage(int width, int height, unsigned seed = 1);

} // namespace halvera::peers
