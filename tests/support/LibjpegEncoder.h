#pragma once

#include <cstdint>
#include <cstdio> // before jpeglib.h, which uses FILE
#include <functional>
#include <jpeglib.h>
#include <vector>

namespace halvera::testing {

// Encodes top-down `samples`, `components` per pixel, with libjpeg directly,
// for pictures the program itself never writes (grey, CMYK, progressive,
// oversized). The encoder starts from libjpeg's defaults at quality 100;
// `configure` may change it before compression starts.
std::vector<uint8_t>
EncodeWithLibjpeg(int width, int height, J_COLOR_SPACE space, int components,
                  const std::vector<uint8_t>& samples,
                  const std::function<void(jpeg_compress_struct&)>& configure = {});

} // namespace halvera::testing
