#pragma once

#include "image/DibImage.h"

#include <string_view>

namespace halvera {

enum class PolynomialShadeResult {
    Corrected,
    NotAColourImage, // nothing touched
    NoBackgroundFit, // the samples fix no background surface; nothing touched
    NoMemory,        // the work lists could not be allocated; nothing touched
};

// What the user is told when the fit fails.
inline constexpr std::string_view kNoBackgroundFitMessage =
    "Shade correction needs an image of at least 64 x 64 pixels with brightness spread "
    "over it. No background could be fitted to this image; it is left unchanged.";

// Flattens uneven illumination against a fitted background surface, in place:
//  1. the image is cut into 64 x 64 cells of (width div 64) x (height div 64)
//     pixels; each cell gives as sample the first pixel of greatest luminance
//     (30 r + 59 g + 11 b) div 100, scanning rows from the top and each row
//     from the left, or (0, 0, 0) when no pixel of the cell is above 0;
//  2. z = c0 + c1 x + c2 y + c3 xy + c4 x^2 + c5 y^2 is fitted to the 4096
//     samples by least squares (normal equations, Gauss elimination with
//     complete pivoting);
//  3. twice, the samples whose luminance differs from the truncated fitted
//     value by 5 or more are dropped and the surface is fitted again to the
//     rest; a pass that keeps fewer than 6 samples, or whose samples fix no
//     surface, ends the refitting and the last surface is used;
//  4. with B = y (x c3 + y c5 + c2) + x (x c4 + c1) + c0 evaluated in extended
//     precision and truncated, each channel v becomes min(255, (v * 255) div B)
//     when B > 0, else 255.
// The region of interest is not consulted. When the first fit has no unique
// solution (an image narrower or shorter than 64 pixels, a black image, or
// samples lying on too few lines) the image is left unchanged and
// NoBackgroundFit is returned; the caller tells the user.
PolynomialShadeResult ShadeCorrectPolynomial(const CDibImage& image);

} // namespace halvera
