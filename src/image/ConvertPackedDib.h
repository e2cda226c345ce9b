#pragma once

#include "image/BitmapInfoHeader.h"
#include "image/DibImage.h"
#include "image/PackedDib.h"
#include "image/ReadFailure.h"

#include <cstdint>
#include <optional>

namespace halvera {

// The layout rules of an incoming packed DIB (header, palette, bottom-up rows)
// and its conversion into a 24-bit image.
//
// A packed DIB of depth 1, 4 or 8 always carries a full palette of 2^depth
// entries right after its 40-byte header, whatever biClrUsed says; the rows
// follow the palette immediately. A 24-bit one has no palette.

// The header's biBitCount when 0 < width <= 30000, 0 < height <= 30000 and the
// rows are uncompressed; otherwise -1. The depth itself is not judged here.
int PackedDibDepth(const BitmapInfoHeader& header);

// True when the header describes a picture the program can read: depth 1, 4,
// 8 or 24 within the size limits of PackedDibDepth.
bool IsReadableDibHeader(const BitmapInfoHeader& header);

// Header + full palette + rows of a readable header, in bytes; -1 for any
// other header. Computed in 64 bits, so no header value can overflow it.
int64_t PackedDibRequiredSize(const BitmapInfoHeader& header);

// Why a header that IsReadableDibHeader refuses cannot be read: its size, its
// compression or its depth.
ReadFailure RefusedHeaderFailure(const BitmapInfoHeader& header);

// Why ConvertPackedDib would refuse `dib` whatever image it is given (an
// unreadable header, a block shorter than header + full palette + rows), or
// nothing when it converts.
std::optional<ReadFailure> PackedDibFailure(const PackedDib& dib);

// Fills `image`, an already created 24-bit image of the picture's width and
// height, from `dib` (depth 1, 4, 8 or 24). Indexed pixels are looked up in the
// palette (blue, green, red of the entry); 1-bit rows hold the leftmost pixel
// in the most significant bit, 4-bit rows in the high nibble. A 24-bit picture
// is copied whole, row padding included; for the other depths the padding of
// `image` is cleared.
//
// Returns false and touches nothing when `dib` is not readable, is shorter
// than header + full palette + rows, or does not match `image`.
bool ConvertPackedDib(const PackedDib& dib, const CDibImage& image);

} // namespace halvera
