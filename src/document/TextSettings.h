#pragma once

#include "platform/TextAttributes.h"

#include <cstdint>
#include <string>

namespace halvera {

// The text a document's window last placed: its string, its box in image
// pixels and its attributes. Each document keeps one.
struct TextSettings {
    std::string text;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    TextAttributes attributes;

    bool operator==(const TextSettings&) const = default;
};

} // namespace halvera
