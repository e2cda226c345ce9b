#pragma once

#include <cstdint>

namespace halvera {

// A colour reference as the settings and the tools pass colours: red in the
// low byte, then green, then blue.
using ColourRef = uint32_t;

constexpr ColourRef MakeColourRef(uint8_t red, uint8_t green, uint8_t blue) {
    return ColourRef{red} | (ColourRef{green} << 8) | (ColourRef{blue} << 16);
}
constexpr uint8_t RedOf(ColourRef c) {
    return static_cast<uint8_t>(c & 255);
}
constexpr uint8_t GreenOf(ColourRef c) {
    return static_cast<uint8_t>((c >> 8) & 255);
}
constexpr uint8_t BlueOf(ColourRef c) {
    return static_cast<uint8_t>((c >> 16) & 255);
}

} // namespace halvera
