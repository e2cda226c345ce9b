#pragma once

#include <array>
#include <cstdint>

namespace halvera {

// clamp(x) = 0 below 0, 255 above 255, x otherwise, as a table indexed by
// x + 256 for x in -256..511: 256 zeros, the identity, 256 entries of 255.
constexpr int kClampBias = 256;

constexpr std::array<uint8_t, 768> MakeClampTable() {
    std::array<uint8_t, 768> table{};
    for (int i = 0; i < 768; ++i) {
        const int x = i - kClampBias;
        table[i] = static_cast<uint8_t>(x < 0 ? 0 : x > 255 ? 255 : x);
    }
    return table;
}

inline constexpr std::array<uint8_t, 768> kClampTable = MakeClampTable();

// A level offset of the colour adjustments: -255..255.
constexpr bool IsLevelOffset(int offset) {
    return offset >= -255 && offset <= 255;
}

// A percentage slider value (-100..100) as a level offset (-255..255),
// truncated toward zero.
constexpr int PercentToLevels(int percent) {
    return 255 * percent / 100;
}

} // namespace halvera
