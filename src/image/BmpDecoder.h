#pragma once

#include "image/BmpHeaders.h"
#include "image/BmpLayout.h"
#include "image/PackedDib.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace halvera {

// BMP file bytes into the program's packed DIB: bottom-up, uncompressed rows
// of 1, 4 or 8 bits behind a full palette, or of 24 bits (blue, green, red).
// 16- and 32-bit files become 24-bit (BmpBitFields.h), OS/2 palettes of
// 3-byte entries 4-byte ones, top-down rows bottom-up, run-length data plain
// rows (BmpRle.h). Files and the clipboard both come through here.

// A BMP file read, or the reason it was not: empty for a damaged file, else
// a sentence naming the kind of BMP the program does not read.
struct BmpReading {
    PackedDib picture;
    std::string refusal;
};

// Reads a whole BMP file of `size` bytes held in memory, by the rules of
// ParseBmpHeaders and LocateBmpPixels.
BmpReading ReadBmpBytes(const uint8_t* file, size_t size);

// For a file laid out as a packed DIB (BmpLayout::packedDib): a block holding
// its picture header cut to the classic 40 bytes, with room after it for the
// rest of the file behind the picture header, which the caller copies in as
// it is. Empty when the memory is not there.
PackedDib AllocatePackedDibOfFile(const BmpHeaders& headers, uint64_t fileSize);

// The packed DIB of a file of any other layout; `file` holds the file's
// bytes at least to the end of its pixel data. The header keeps the file's
// resolution; compression, image size and colour counts become 0. Empty when
// the memory is not there or the run-length data is refused (BmpRle.h).
PackedDib DecodeBmpPixels(const BmpHeaders& headers, const BmpLayout& layout, const uint8_t* file);

} // namespace halvera
