#pragma once

#include "document/TextSettings.h"
#include "image/DibImage.h"
#include "view/PaintCanvas.h"

#include <cstdint>
#include <vector>

namespace halvera {

// Text drawn off screen for the text tool: white text on black over the
// area the tool keeps, rows top..bottom - 1 and columns left..right + 31 of
// the text's box. `white` holds one byte per pixel of that area, rows from the
// top, 1 where the drawn pixel was exactly white (so no smoothed edge pixel
// ever counts).
struct TextBitmap {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;  // right - left + 32
    int32_t height = 0; // bottom - top
    std::vector<uint8_t> white;

    // The area for a text box; `white` all 0.
    static TextBitmap ForBox(const TextSettings& text);
};

// The width added right of the text's extent: italic overhangs reach there.
inline constexpr int32_t kTextOverhang = 32;

// Sets every image pixel under a white bitmap pixel to `colour`, skipping
// those outside the image. Text is drawn without regard to the selection.
// Works in place.
void StampTextBitmap(const CDibImage& image, const TextBitmap& bitmap, ColourRef colour);

} // namespace halvera
