#pragma once

#include "image/DibImage.h"

#include <array>
#include <span>

namespace halvera {

// A round structuring element, given as the half-width of each of its rows
// from the top: row r covers columns -halfWidth[r]..halfWidth[r] around the
// centre. Rows are an odd number, at most kMaxShadeElementSize.
constexpr int kMaxShadeElementSize = 15;

// Size 7 (rows 3, 5, 7, 7, 7, 5, 3 pixels wide) and size 9 (rows 5, 7, 9, 9,
// 9, 9, 9, 7, 5 pixels wide).
inline constexpr std::array<int, 7> kShadeElement7 = {1, 2, 3, 3, 3, 2, 1};
inline constexpr std::array<int, 9> kShadeElement9 = {2, 3, 4, 4, 4, 4, 4, 3, 2};
// The box smoothing that goes with each element.
constexpr int kShadeSmoothing7 = 3;
constexpr int kShadeSmoothing9 = 5;

// Flattens uneven illumination against a background estimated by
// morphology, in place:
//  1. background = the greatest luminance (30 r + 59 g + 11 b) div 100 under
//     the element centred on each pixel (element positions outside the image
//     are skipped);
//  2. smoothed = the mean of the background over a smoothing x smoothing box,
//     the sum of the positions inside the image divided by their number
//     (integer division);
//  3. each channel v becomes min(255, (v * 255) div smoothed), or 255 where
//     the smoothed background is 0.
// The region of interest is not consulted. `smoothing` is odd, 1..15. Returns
// false, touching nothing, for an image that is not 24-bit, an element that
// breaks the rules above, or when the work rows cannot be allocated.
bool ShadeCorrectMorphological(const CDibImage& image, std::span<const int> elementHalfWidths,
                               int smoothing);

} // namespace halvera
