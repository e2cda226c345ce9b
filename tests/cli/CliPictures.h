#pragma once

#include "ImageFileTestSupport.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace halvera::testing {

// One pixel of a 24-bit file: blue, green, red.
using Pixel = std::array<uint8_t, 3>;
using PixelPattern = std::function<Pixel(int x, int y)>;

// Bytes per row of a 24-bit picture: 3 x width rounded up to a multiple of 4.
size_t Stride24(int width);

// The bytes of a 24-bit BMP file whose pixel (x, y), y = 0 at the top, is
// colour(x, y); padding bytes are 0.
Bytes Bmp24(int width, int height, const PixelPattern& colour);
void WriteBmp24(const std::string& path, int width, int height, const PixelPattern& colour);

// Pixel (x, y), y = 0 at the top, of a 24-bit BMP file the tool wrote.
Pixel PixelOf(const Bytes& file, int width, int height, int x, int y);

} // namespace halvera::testing
