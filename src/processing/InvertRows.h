#pragma once

#include <cstdint>

namespace halvera {

// Complements every byte of a row of `count` bytes in place (255 - v), with
// the widest vector code the processor offers, chosen at run time.
void InvertBytes(uint8_t* bytes, int32_t count);

} // namespace halvera
