#include "processing/ApplyHueSaturation.h"

#include "image/RegionOfInterest.h"
#include "processing/ClampTable.h"
#include "processing/HsvToRgb.h"
#include "processing/OperandCheck.h"
#include "processing/RgbToHsv.h"

namespace halvera {

namespace {

struct HsvShift {
    int hue;        // 0..359
    int saturation; // -255..255
    int value;      // -255..255

    void apply(const uint8_t* in, uint8_t* out) const {
        const HsvColour hsv = RgbToHsv(in[2], in[1], in[0]);
        int h = hsv.hue + hue;
        if (h >= 360)
            h -= 360;
        const RgbColour rgb = HsvToRgb(h, kClampTable[hsv.saturation + saturation + kClampBias],
                                       kClampTable[hsv.value + value + kClampBias]);
        out[0] = static_cast<uint8_t>(rgb.blue);
        out[1] = static_cast<uint8_t>(rgb.green);
        out[2] = static_cast<uint8_t>(rgb.red);
    }
};

} // namespace

bool ApplyHueSaturation(const CDibImage& destination, const CDibImage& source,
                        const CDibImage& mask, int hueShift, int saturationOffset,
                        int brightnessOffset) {
    if (!PointOperands(destination, source, mask) || !IsLevelOffset(saturationOffset) ||
        !IsLevelOffset(brightnessOffset))
        return false;
    // (hue + shift) mod 360 made non-negative, with the shift reduced first so
    // that no shift can overflow.
    int hue = hueShift % 360;
    if (hue < 0)
        hue += 360;
    const HsvShift shift{hue, saturationOffset, brightnessOffset};
    const RegionOfInterest region(mask);
    const int32_t width = destination.width();
    for (int32_t y = 0; y < destination.height; ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* out = destination.row(y);
        const uint8_t* selection = region.maskRow(y);
        for (int32_t x = 0; x < width; ++x, in += 3, out += 3)
            if (RegionOfInterest::Selected(selection, x))
                shift.apply(in, out);
    }
    return true;
}

} // namespace halvera
