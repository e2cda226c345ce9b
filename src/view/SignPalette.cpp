#include "view/SignPalette.h"

#include "processing/HsvToRgb.h"

namespace halvera {

ColourRef SignPalette::Colour(int column, int row) {
    static constexpr ColourRef kFixed[8] = {
        MakeColourRef(0, 0, 0),     MakeColourRef(255, 255, 255), MakeColourRef(255, 0, 0),
        MakeColourRef(0, 255, 0),   MakeColourRef(0, 0, 255),     MakeColourRef(255, 255, 0),
        MakeColourRef(255, 0, 255), MakeColourRef(0, 255, 255)};
    if (row == 0 && column < 8)
        return kFixed[column];
    const RgbColour rgb = HsvToRgb(24 * column, 21 + 39 * row, 255);
    return MakeColourRef(static_cast<uint8_t>(rgb.red), static_cast<uint8_t>(rgb.green),
                         static_cast<uint8_t>(rgb.blue));
}

int SignPalette::IndexOf(ColourRef colour) {
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            if (Colour(column, row) == colour)
                return row * kColumns + column;
    return 0;
}

} // namespace halvera
