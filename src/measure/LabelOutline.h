#pragma once

#include "image/PixelGeometry.h"
#include "measure/MeasureGraph.h"

#include <array>

namespace halvera {

// A measurement label keeps legible on white and on black pictures alike: it
// is drawn first at each of these offsets in the opposite of its colour, a
// one-pixel outline round every stroke, then once in its colour on top.
inline constexpr std::array<PixelPoint, 8> kLabelOutlineOffsets = {
    {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}};

// The opposite of a label's colour: each channel 255 less it. The eight
// measurement colours pair off (black and white, red and cyan, green and
// magenta, blue and yellow), and none is the grey that Merge keys on.
GraphColour LabelOutlineColour(GraphColour text);

} // namespace halvera
