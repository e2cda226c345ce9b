#pragma once

#include "image/BmpHeaders.h"

#include <cstdint>
#include <optional>

namespace halvera {

// Where a BMP file's palette and pixel data lie.
//
// The palette holds biClrUsed entries when that is 1..2^depth, else 2^depth
// (none above 8 bits); a 16-, 24- or 32-bit file's palette is skipped. The
// pixel data starts at the file header's offset when that lies at or after
// the end of the headers and that palette and the rows fit in the file.
// Otherwise the rows are taken right after a full palette (2^depth entries,
// none above 8 bits), as the program always read such files; a run-length
// encoded file has no such fallback and is refused, as is one whose
// biClrUsed exceeds 2^depth.
struct BmpLayout {
    uint32_t paletteEntries = 0; // entries the file gives; any further index shows black
    uint64_t pixelStart = 0;     // file offset
    uint64_t pixelBytes = 0;     // uncompressed: the rows; run-length data: to the end of the file
    // True when the file's picture header is followed by a full palette and
    // the rows right after it: bottom-up, uncompressed, 1, 4, 8 or 24 bits
    // with 4-byte palette entries. Such a file is a packed DIB behind its
    // headers and is taken as it is, palette and any trailing bytes included.
    bool packedDib = false;
};

// The layout of a file of `fileSize` bytes; nullopt when the pixel data does
// not fit in it.
std::optional<BmpLayout> LocateBmpPixels(const BmpHeaders& headers, uint64_t fileSize);

} // namespace halvera
