#pragma once

#include "image/DibImage.h"

namespace halvera {

// Makes `copy` an exact copy of `source` (header, palette and rows) in a new
// block. The bytes are copied in slices on the pixel workers: a fresh block of
// tens of megabytes costs more in first-touch page faults than in copying, and
// the workers take those faults side by side. Nothing is cleared first, since
// every byte is overwritten. False, with `copy` empty, when `source` is empty
// or the block cannot be allocated.
bool DuplicateBlock(DibBlock& copy, const CDibImage& source);

} // namespace halvera
