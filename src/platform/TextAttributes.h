#pragma once

#include <cstdint>
#include <string>

namespace halvera {

// The text tool's colour and font. The colour is a colour reference (red in
// the low byte, then green, then blue); a negative height asks for a font whose
// characters are that many pixels high.
struct TextAttributes {
    uint32_t colour = 0x0000FF00; // green
    std::string faceName = "Arial";
    int32_t height = -20;
    int32_t weight = 0; // 0: the font's default weight
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const TextAttributes&) const = default;
};

} // namespace halvera
