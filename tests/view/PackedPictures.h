#pragma once

#include "image/DibImage.h"
#include "image/PackedDib.h"

namespace halvera::testing {

// A packed DIB read back as a 24-bit image through the program's own
// converter; empty (after a failed expectation) when it cannot be read.
DibBlock Unpacked(const PackedDib& picture);

} // namespace halvera::testing
