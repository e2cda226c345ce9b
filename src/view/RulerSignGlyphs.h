#pragma once

#include <array>
#include <cstdint>

namespace halvera {

// The scale bar's 16 x 16 glyphs: one 16-bit word per row, the most
// significant bit the leftmost pixel. Digits and the letters of the unit
// names (c, d, h, i, m, n, u); null for any other character.
const std::array<uint16_t, 16>* RulerSignGlyph(char glyph);

} // namespace halvera
