#pragma once

#include "view/PaintCanvas.h"

namespace halvera {

// The "Sign setting" palette: 16 columns by 7 rows of swatches. Row 0 begins
// with black, white, red, green, blue, yellow, magenta and cyan; every other
// swatch (c, r) is HsvToRgb(24c, 21 + 39r, 255).
struct SignPalette {
    static constexpr int kColumns = 16;
    static constexpr int kRows = 7;

    // The colour reference of swatch (column, row).
    static ColourRef Colour(int column, int row);
    // The first swatch, by rows then columns, of exactly `colour`; swatch
    // (0, 0) when none has it. Returned as row * kColumns + column.
    static int IndexOf(ColourRef colour);
};

} // namespace halvera
