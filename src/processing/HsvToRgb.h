#pragma once

namespace halvera {

struct RgbColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The inverse of RgbToHsv in the same integer model, for hue 0..360 (360 counts
// as 0), saturation and value 0..255; every division truncates toward zero.
// With c = S * V / 255, f = c * (H mod 60) / 60, p = V - c, q = V - f,
// t = p + f, the sixty-degree sector H / 60 gives (R, G, B):
// 0 (V, t, p), 1 (q, V, p), 2 (p, V, t), 3 (p, q, V), 4 (t, p, V), 5 (V, p, q).
// Inline: it runs once per pixel.
inline RgbColour HsvToRgb(int hue, int saturation, int value) {
    if (saturation == 0)
        return {value, value, value};
    if (hue == 360)
        hue = 0;
    const int chroma = saturation * value / 255;
    const int f = chroma * (hue % 60) / 60;
    const int p = value - chroma;
    const int q = value - f;
    const int t = p + f;
    switch (hue / 60) {
    case 0:
        return {value, t, p};
    case 1:
        return {q, value, p};
    case 2:
        return {p, value, t};
    case 3:
        return {p, q, value};
    case 4:
        return {t, p, value};
    default:
        return {value, p, q};
    }
}

} // namespace halvera
