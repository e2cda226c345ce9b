#pragma once

#include "ImageFileTestSupport.h"
#include "image/BitmapInfoHeader.h"
#include "image/BmpBitFields.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace halvera::testing {

// Builders of BMP files in the layouts other programs write.

// A Windows picture header of `size` bytes (40 to 124): the classic fields,
// then zeros, with `masks` at bytes 40..51 when the header is that long. A
// smaller size cuts the classic fields short.
Bytes InfoHeaderBytes(uint32_t size, int32_t width, int32_t height, int depth,
                      uint32_t compression = 0, uint32_t colours = 0,
                      const ChannelMasks& masks = {});

// An OS/2 1.x picture header: size 12, 16-bit width and height, planes, depth.
Bytes CoreHeaderBytes(uint16_t width, uint16_t height, int depth);

// Masks as a file stores them after a 40-byte header, `count` (3 or 4) words.
Bytes MaskBytes(const ChannelMasks& masks, int count = 3);

// Palette entries of 4 bytes (blue, green, red, 0) or of 3 (OS/2 1.x).
Bytes PaletteBytes(const std::vector<RgbQuad>& palette, int entrySize = 4);

// A whole BMP file: file header (size, pixel offset), picture header,
// `between` (masks, palette, a gap), then `pixels`. The offset points at
// `pixels` unless given.
Bytes AssembleBmp(const Bytes& pictureHeader, const Bytes& between, const Bytes& pixels,
                  std::optional<uint32_t> pixelOffset = std::nullopt);

// Rows of 16- or 32-bit little-endian pixel values, `width` a row, each row
// padded to 4 bytes; `values` lists the rows in file order.
Bytes PixelRows(int depth, int width, const std::vector<uint32_t>& values);

} // namespace halvera::testing
