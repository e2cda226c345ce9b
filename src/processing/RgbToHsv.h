#pragma once

#include "processing/SmallDivision.h"

namespace halvera {

// A colour in the integer HSV model of the hue/saturation adjustment.
struct HsvColour {
    int hue = 0;        // 0..359 degrees
    int saturation = 0; // 0..255
    int value = 0;      // 0..255
};

// Value is the largest channel; saturation (max - min) * 255 / max; hue is
// measured from the largest channel, ties going to red, then green. Every
// division truncates toward zero (the two by a level through SmallDivision). Black and greys have
// hue 0 and saturation 0. Inline: it runs once per pixel.
inline HsvColour RgbToHsv(int red, int green, int blue) {
    const int max = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
    const int min = red < green ? (red < blue ? red : blue) : (green < blue ? green : blue);
    HsvColour hsv;
    hsv.value = max;
    if (max == 0)
        return hsv;
    const int diff = max - min;
    hsv.saturation = SmallDivision::Divide(diff * 255, max);
    if (hsv.saturation == 0)
        return hsv;
    if (red == max)
        hsv.hue = SmallDivision::DivideSigned((green - blue) * 60, diff);
    else if (green == max)
        hsv.hue = SmallDivision::DivideSigned((blue - red) * 60, diff) + 120;
    else
        hsv.hue = SmallDivision::DivideSigned((red - green) * 60, diff) + 240;
    if (hsv.hue < 0)
        hsv.hue += 360;
    return hsv;
}

} // namespace halvera
