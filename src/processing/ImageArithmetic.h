#pragma once

#include "image/DibImage.h"

#include <array>
#include <string_view>

namespace halvera {

// The fifteen ways of combining the active image A with a second image B, in
// the order the "Calculation" dialog and the batch tool number them.
enum class ArithmeticOperation {
    Add,        // (a * (100 - t) + b * t) div 100
    Minus,      // (100 * a - t * b) div 100, at least 0
    Multiply,   // (a * b * t) div 1000, at most 255
    Divide,     // a div ((b * t) div 1000), 255 for a zero divisor
    And,        // 255 when a and b are non-zero
    Or,         // 255 when a or b is non-zero
    Not,        // 255 when a is zero
    Xor,        // 255 when exactly one of a, b is non-zero
    AndNot,     // 0 when a and b are non-zero
    OrAnd,      // 0 when a or b is non-zero
    Max,        // max(a, (b * t) div 100)
    Min,        // min(a, (b * t) div 100)
    Sub,        // |a - (b * t) div 100|
    FeatureAnd, // white where A's white regions touch B's white pixels, black elsewhere
    MaskAnd,    // unselected pixels get the Add blend, selected ones stay
};
constexpr int kArithmeticOperationCount = 15;

// The texts of the operations, indexed by ArithmeticOperation.
extern const std::array<std::string_view, kArithmeticOperationCount> kArithmeticOperationNames;

// Which colour channel a side of the operation uses; the numbers are the
// positions in the list "RGB", "R", "G", "B".
enum class ArithmeticChannel { Rgb = 0, Red = 1, Green = 2, Blue = 3 };
extern const std::array<std::string_view, 4> kArithmeticChannelNames;

struct ArithmeticSettings {
    ArithmeticOperation operation = ArithmeticOperation::Add;
    ArithmeticChannel outputChannel = ArithmeticChannel::Rgb; // channel of A
    ArithmeticChannel inputChannel = ArithmeticChannel::Rgb;  // channel of B
    int transparency = 100; // percent, 0..100; unused by the logical operations
    bool limitToRegion = false;
    // B is moved by the shifts before it is combined: B's pixel
    // (x - xShift, y - yShift) pairs with A's pixel (x, y), so positive shifts
    // move B right and down. -1024..1024.
    int xShift = 0;
    int yShift = 0;
};

constexpr int kMaxArithmeticShift = 1024;

// Combines `working` (A', the image as it was when the command began) with
// `input` (B) and writes the result into `image` (A). A is first restored from
// A', so the result depends only on A', B and the mask, and pixels outside the
// overlap of A and the shifted B keep A's values. With `limitToRegion` and a
// region in `mask`, only selected pixels are computed (Mask And always uses the
// mask, see ArithmeticOperation). B may be A' itself, never `image`.
//
// `image` and `working` are 24-bit images of one size; `input` is any 24-bit
// image; `mask` is empty or an 8-bit plane of A's size. Returns false, with
// nothing touched, when the images or settings do not fit these rules, and
// false with A restored from A' when Feature And cannot get its work memory.
bool ImageArithmetic(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                     const CDibImage& input, const ArithmeticSettings& settings);

} // namespace halvera
