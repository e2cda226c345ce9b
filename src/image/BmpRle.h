#pragma once

#include <cstddef>
#include <cstdint>

namespace halvera {

// Run-length encoded BMP pixel data (biCompression 1 for 8-bit, 2 for 4-bit
// pictures). Runs and literal stretches fill rows from the bottom row up;
// escape codes end a row, end the picture or move the drawing position by a
// delta. Pixels the data never reaches keep palette index 0.
//
// Every step is checked against the picture: a run or literal stretch that
// passes the end of its stored row, a delta that leaves the picture, pixels
// after the last row and data that ends before its end-of-picture code all
// refuse the data. A stored row is padded to a multiple of 4 bytes, and
// common writers (ImageMagick) encode the padding pixels too: runs may reach
// into the padding, whose pixels are dropped.

// Decodes `size` bytes of `data` into the zero-filled bottom-up rows of an
// uncompressed picture of depth `bitCount` (4 or 8), `stride` bytes apart.
// False when the data is refused; `rows` may then be partly filled.
bool DecodeBmpRle(const uint8_t* data, size_t size, int bitCount, int32_t width, int32_t height,
                  uint8_t* rows, size_t stride);

} // namespace halvera
