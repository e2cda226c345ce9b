#pragma once

#include "processing/ChannelMapping.h"

#include <cstdint>

namespace halvera {

// The state of one brightness/contrast adjustment, kept for the life of its
// dialog: the contrast curve (initially the identity) and the brightness
// offset in levels (initially 0). Whichever slider moved last, a level v
// always becomes clamp(curve[v] + offset) for the two current slider values.
class BrightnessContrastTables {
public:
    BrightnessContrastTables();

    // The offset becomes 255 * percent / 100, truncated toward zero.
    // False, with nothing changed, outside -100..100.
    bool SetBrightness(int percent);

    // Rebuilds the curve for a contrast about `meanGray` (0..255); divisions
    // truncate toward zero and every entry is clamped to 0..255.
    //  percent > 0: the levels lo .. lo + D, lo = h * c / 100,
    //      D = 255 - lo - (255 - h) * c / 100, are stretched onto 0..255:
    //      curve[v] = (255 v - 255 lo) / D (D taken as 1 when not positive, so
    //      100 is a threshold: levels up to h become 0, levels above 255).
    //  percent < 0: every level is scaled down toward 0: with a = h * -c / 100,
    //      curve[v] = M v / (255 + a), M = 255 - (255 - h) * -c / 100 - a
    //      (-100 turns everything black).
    //  percent = 0: the identity.
    // False, with nothing changed, for a percent outside -100..100 or a mean
    // above 255.
    bool SetContrast(uint32_t meanGray, int percent);

    const LevelTable& curve() const { return curve_; }
    int offset() const { return offset_; }

    // clamp(curve[v] + offset) for every level v: the whole adjustment as one
    // table, so that a preview is one look-up per channel.
    LevelTable Levels() const;

private:
    LevelTable curve_{};
    int offset_ = 0;
};

} // namespace halvera
