#pragma once

// Internal to the image arithmetic: where A and the shifted B overlap, and the
// row walk that combines them channel by channel.

#include "image/DibImage.h"
#include "image/RegionOfInterest.h"
#include "processing/ImageArithmetic.h"

#include <cstdint>

namespace halvera::arithmetic {

// The pixels of A that have a partner in B, as half-open ranges in A's
// coordinates; B's partner of A's (x, y) is (x - xShift, y - yShift).
struct Overlap {
    CDibImage image;   // A, written
    CDibImage working; // A', read
    CDibImage input;   // B, read
    int32_t left = 0, right = 0, top = 0, bottom = 0;
    int32_t xShift = 0, yShift = 0;

    bool empty() const { return left >= right || top >= bottom; }
    const uint8_t* inputPixel(int32_t x, int32_t y) const {
        return input.row(y - yShift) + 3 * static_cast<ptrdiff_t>(x - xShift);
    }
};

// Which pixels of a row a pass computes.
enum class PixelChoice {
    All,        // every overlap pixel
    Selected,   // mask byte 255
    Unselected, // mask byte other than 255
};

// For each written channel k: A.target[k] = f(A'.fromA[k], B.fromB[k]), byte
// offsets within a blue-green-red pixel. Channels not listed keep A's values.
struct ChannelMap {
    int count = 3;
    int target[3] = {0, 1, 2};
    int fromA[3] = {0, 1, 2};
    int fromB[3] = {0, 1, 2};

    bool identity() const {
        return count == 3 && fromA[0] == 0 && fromA[1] == 1 && fromA[2] == 2 && fromB[0] == 0 &&
               fromB[1] == 1 && fromB[2] == 2 && target[0] == 0 && target[1] == 1 && target[2] == 2;
    }
};

// Rule S (most two-operand operations): a single channel on one side pairs
// with every channel of the other; a single channel on both sides changes only
// the output channel.
ChannelMap SingleChannelRule(ArithmeticChannel output, ArithmeticChannel input);
// Rule W (Or, Xor, Or And): channel for channel, unless both sides name one
// channel, when every channel of A pairs with B's input channel.
ChannelMap WholePixelRule(ArithmeticChannel output, ArithmeticChannel input);
// Not: all channels, unless both sides name one channel, when only the output
// channel is negated.
ChannelMap NegationRule(ArithmeticChannel output, ArithmeticChannel input);

// Applies `op(a, b)` to the overlap. `mask` is null or the mask of A's size
// consulted by `choice`.
template <class Op>
void CombineOverlap(const Overlap& overlap, const ChannelMap& map, const CDibImage* mask,
                    PixelChoice choice, const Op& op) {
    const int32_t count = overlap.right - overlap.left;
    const bool wholeRows = choice == PixelChoice::All && map.identity();
    // Bottom row first, upwards through memory (see RunPixelArithmetic).
    for (int32_t y = overlap.bottom - 1; y >= overlap.top; --y) {
        const uint8_t* a = overlap.working.row(y) + 3 * static_cast<ptrdiff_t>(overlap.left);
        const uint8_t* b = overlap.inputPixel(overlap.left, y);
        uint8_t* out = overlap.image.row(y) + 3 * static_cast<ptrdiff_t>(overlap.left);
        if (wholeRows) {
            // Channel for channel on every pixel: one flat loop over the bytes.
            for (int32_t i = 0; i < 3 * count; ++i)
                out[i] = op(a[i], b[i]);
            continue;
        }
        const uint8_t* m = choice == PixelChoice::All ? nullptr : mask->row(y) + overlap.left;
        const bool wantSelected = choice == PixelChoice::Selected;
        for (int32_t x = 0; x < count; ++x, a += 3, b += 3, out += 3) {
            if (m != nullptr && IsSelectedByte(m[x]) != wantSelected)
                continue;
            for (int k = 0; k < map.count; ++k)
                out[map.target[k]] = op(a[map.fromA[k]], b[map.fromB[k]]);
        }
    }
}

// The Add blend (a * (100 - t) + b * t) div 100; shared by Add and Mask And.
// Unlike the other operations it needs no tables: the sum is at most
// 255 * 100, so it is computed in 16 bits and divided by a constant, which
// the compiler turns into a vectorised multiplication (several times faster
// than two table look-ups per byte). The result never exceeds 255.
class AddBlend {
public:
    explicit AddBlend(int transparency)
        : keepA_(static_cast<uint16_t>(100 - transparency)),
          takeB_(static_cast<uint16_t>(transparency)) {}
    uint8_t operator()(uint8_t a, uint8_t b) const {
        return static_cast<uint8_t>(static_cast<uint16_t>(a * keepA_ + b * takeB_) / 100);
    }

private:
    uint16_t keepA_;
    uint16_t takeB_;
};

// The per-value operations other than Feature And and Mask And.
void RunPixelArithmetic(const Overlap& overlap, const CDibImage* mask, PixelChoice choice,
                        const ArithmeticSettings& settings);
// Mask And: needs a region in `mask`; see ArithmeticOperation::MaskAnd.
void RunMaskAnd(const Overlap& overlap, const CDibImage& mask, const ArithmeticSettings& settings);
// Feature And; `mask` is null unless the region limits it. False when its
// work plane cannot be allocated (A is then left as it is).
bool RunFeatureAnd(const Overlap& overlap, const CDibImage* mask);

} // namespace halvera::arithmetic
