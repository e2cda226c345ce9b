#pragma once

#include <cstdint>

namespace halvera {

// The parameters of the hue/saturation adjustment on one pixel: the hue
// rotation already reduced to 0..359 degrees, and the saturation and value
// offsets in levels (-255..255).
struct HueSaturationShift {
    int hue = 0;
    int saturation = 0;
    int value = 0;
};

// The hue/saturation adjustment of one row: each selected pixel of `source`
// goes through RgbToHsv, has `shift.hue` added to its hue (modulo 360) and
// the offsets added to its saturation and value (clamped to 0..255), and comes
// back through HsvToRgb into `destination`, with exactly the bytes of those
// two functions. Runs the widest vector code the processor offers (chosen at
// run time).
//
// `source` and `destination` point at the first blue byte of `width` pixels
// and may be the same row. `selection` points at the row's mask bytes, or is
// null when there is no region (every pixel is selected); with a selection
// only pixels whose byte is 255 are written, the others keep their
// destination bytes.
void HueSaturationRow(const uint8_t* source, uint8_t* destination, const uint8_t* selection,
                      int32_t width, HueSaturationShift shift);

} // namespace halvera
