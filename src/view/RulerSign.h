#pragma once

#include "image/AppSettings.h"
#include "image/PixelGeometry.h"
#include "view/PaintCanvas.h"

#include <cstdint>

namespace halvera {

// The horizontal calibration a scale bar is drawn from: `realLength` units of
// `unit` (0 um, 1 mm, 2 cm, 3 dcm, 4 inch) span `pixelLength` image pixels.
struct RulerSignScale {
    double realLength = 100.0;
    int pixelLength = 100;
    int unit = 0;

    double pixelsPerUnit() const { return pixelLength / realLength; }
};

// The calibration the settings hold now (RulerUnit, xRealRulerData,
// xPixelRulerData).
RulerSignScale RulerSignScaleFrom(const AppSettings& settings);

// A scale bar's length in whole units and in image pixels; 0 pixels when no
// bar is available.
struct RulerSignBar {
    int units = 0;
    int pixels = 0;
    bool available() const { return pixels > 0; }
};

// The bar a new ruler sign gets: none when the pixel length is below 1, the
// real length not positive, or 5 units already at least as wide as the image;
// otherwise the first of 5, 10, 15, ... units whose pixel length
// trunc(k * n + 0.5) (k pixels per unit) exceeds 49.
RulerSignBar ChooseRulerSignBar(const RulerSignScale& scale, int32_t imageWidth);

// The bar for a dragged pixel length: trunc(length / k) whole units (at least
// one) and their exact length trunc(k * units + 0.5).
RulerSignBar RulerSignBarForLength(const RulerSignScale& scale, int32_t pixelLength);

// Draws the bar with its left end at `leftEnd`: the bar along that row, ticks
// from 5 rows above to 5 rows below each end, and the label (the units in
// decimal, then the unit's letters, 16 x 16 glyphs with their top row 20 rows
// above the bar) centred over it. A label of more than eight digits is left
// out. One-pixel lines and glyph pixels are clipped to the image and honour
// the region. Works in place.
void DrawRulerSign(const PaintCanvas& canvas, PixelPoint leftEnd, const RulerSignBar& bar,
                   int unit);

} // namespace halvera
