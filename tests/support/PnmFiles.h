#pragma once

#include "SyntheticImages.h"

#include <cstdint>
#include <functional>
#include <string>

namespace halvera::testing {

// Writes a binary colour PNM (P6) picture whose pixel (x, y), y = 0 at the
// top, is colour(x, y).
void WritePpm(const std::string& path, int width, int height,
              const std::function<Bgr(int x, int y)>& colour);

// Writes a binary grey PNM (P5) picture whose pixel (x, y) is value(x, y).
void WritePgm(const std::string& path, int width, int height,
              const std::function<uint8_t(int x, int y)>& value);

} // namespace halvera::testing
