#pragma once

#include "image/BitmapInfoHeader.h"
#include "image/BmpBitFields.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace halvera {

// The headers at the start of a BMP file, in every version other programs
// write, brought to one description:
//
// - the 14-byte file header: "BM", the file's size, two reserved words of 0,
//   the offset of the pixel data;
// - the picture header, told apart by its size: 12 bytes (OS/2 1.x: 16-bit
//   width and height, palette entries of 3 bytes), 16 or 64 bytes (OS/2 2.x,
//   where compression 3 is Huffman and 4 is 24-bit RLE), and 40 to 124 bytes
//   (Windows, the classic 40 bytes followed by the fields of later versions,
//   which are skipped);
// - the red, green and blue masks of a BI_BITFIELDS (or BI_ALPHABITFIELDS)
//   file: inside the picture header from 52 bytes on, else right after it.

// How the pixel data is stored.
enum class BmpEncoding {
    Plain,     // uncompressed palette indices (1, 4, 8 bits) or blue, green, red (24 bits)
    BitFields, // uncompressed 16 or 32 bits with channel masks
    Rle8,
    Rle4,
};

struct BmpHeaders {
    // The classic fields as stored (biSize included); fields a shorter header
    // lacks are 0. Only biBitCount, biClrUsed and the sizes are interpreted.
    BitmapInfoHeader info;
    uint32_t pixelOffset = 0;  // from the file header
    uint32_t paletteStart = 0; // file offset: after the picture header and any masks
    uint32_t paletteEntrySize = 4;
    BmpEncoding encoding = BmpEncoding::Plain;
    ChannelMasks masks;   // BitFields only: the file's or the default masks
    int32_t height = 0;   // rows, positive
    bool topDown = false; // rows stored top row first (negative biHeight)
};

// A BMP file's first two bytes, "BM", as a little-endian word.
inline constexpr uint16_t kBmpSignature = 0x4D42;
// The file header before the picture header.
inline constexpr uint32_t kBmpFileHeaderSize = 14;
// The most bytes ParseBmpHeaders reads: file header and the longest picture header.
inline constexpr size_t kBmpHeadersMaxSize = kBmpFileHeaderSize + 124;

// The verdict on a file's headers: its description, or none with, for a kind
// of BMP the program does not read, the reason as a sentence (for a damaged
// file the reason is null).
struct BmpHeadersVerdict {
    std::optional<BmpHeaders> headers;
    const char* unsupported = nullptr;
};

// Judges the first `available` bytes of a file of `fileSize` bytes (at least
// kBmpHeadersMaxSize of them when the file has them). Refused: another
// signature, reserved words other than 0, a stored size other than
// `fileSize`, an unknown header size, width or height beyond 1..30000 (rows
// stored top-down included), depths other than 1, 4, 8, 16, 24 and 32, a
// compression the depth does not have (RLE8 is 8-bit, RLE4 4-bit, both
// stored bottom-up; bit fields are 16- or 32-bit), and unusable masks.
// Named as unsupported: 2 and 64 bits per pixel, embedded JPEG and PNG,
// Huffman and 24-bit RLE compression, bit fields wider than 16 bits.
BmpHeadersVerdict ParseBmpHeaders(const uint8_t* bytes, size_t available, uint64_t fileSize);

} // namespace halvera
