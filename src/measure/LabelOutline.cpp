#include "measure/LabelOutline.h"

namespace halvera {

GraphColour LabelOutlineColour(GraphColour text) {
    return {static_cast<uint8_t>(255 - text.red), static_cast<uint8_t>(255 - text.green),
            static_cast<uint8_t>(255 - text.blue)};
}

} // namespace halvera
