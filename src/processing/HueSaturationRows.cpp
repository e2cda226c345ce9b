// Compiled once per instruction set by Highway's foreach_target; the widest
// the processor supports is chosen at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "processing/HueSaturationRows.cpp"
#include "processing/HueSaturationRows.h"

#include "processing/ClampTable.h"
#include "processing/HsvToRgb.h"
#include "processing/RgbToHsv.h"

#include <hwy/foreach_target.h> // must come before highway.h
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace halvera {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// True when (n * multiplier) >> shift is n / divisor for every n in 0..largest.
constexpr bool IsExactDivision(uint32_t multiplier, int shift, uint32_t divisor, uint32_t largest) {
    for (uint32_t n = 0; n <= largest; ++n)
        if ((n * multiplier) >> shift != n / divisor)
            return false;
    return true;
}

// The divisions by a constant of HsvToRgb as 16-bit multiply-highs (the high
// half is a shift by 16), checked here over their whole ranges.
constexpr uint16_t kBy255 = 32897; // S * V / 255: (x * 32897) >> 23 for x <= 255 * 255
constexpr uint16_t kBy60 = 34953;  // C * (H mod 60) / 60: (x * 34953) >> 21 for x <= 255 * 59
constexpr uint16_t kSector = 1093; // H / 60: (x * 1093) >> 16 for x <= 359
static_assert(IsExactDivision(kBy255, 23, 255, 255 * 255));
static_assert(IsExactDivision(kBy60, 21, 60, 255 * 59));
static_assert(IsExactDivision(kSector, 16, 60, 359));

// n / d truncated toward zero for integers |n| < 2^24, 1 <= d <= 255 with
// |n / d| <= 255, through one correctly rounded float division: n and d are
// exact in float, an integer quotient is exact, and a quotient k + r / d
// (0 < r < d) lies at least 1/255 from the integers around it, far more than
// the rounding error (at most 2^-17 below 256), so truncating the float gives
// the exact integer quotient.
template <class D32> hn::Vec<D32> TruncatedQuotient(D32 d32, hn::Vec<D32> n, hn::Vec<D32> d) {
    const hn::Rebind<float, D32> df;
    return hn::ConvertTo(d32, hn::Div(hn::ConvertTo(df, n), hn::ConvertTo(df, d)));
}

// (n * kScale) / d lane by lane for 16-bit lanes, in 32 bits (the product
// need not fit 16 bits), under the bounds of TruncatedQuotient.
template <int32_t kScale, class D16>
hn::Vec<D16> ScaledQuotient(D16 d16, hn::Vec<D16> n, hn::Vec<D16> d) {
#if HWY_TARGET == HWY_SCALAR
    const hn::Rebind<int32_t, D16> d32;
    const auto scale = hn::Set(d32, kScale);
    return hn::DemoteTo(
        d16, TruncatedQuotient(d32, hn::Mul(hn::PromoteTo(d32, n), scale), hn::PromoteTo(d32, d)));
#else
    const hn::Half<D16> dh;
    const hn::Repartition<int32_t, D16> d32;
    const auto scale = hn::Set(d32, kScale);
    const auto lower =
        TruncatedQuotient(d32, hn::Mul(hn::PromoteTo(d32, hn::LowerHalf(dh, n)), scale),
                          hn::PromoteTo(d32, hn::LowerHalf(dh, d)));
    const auto upper =
        TruncatedQuotient(d32, hn::Mul(hn::PromoteTo(d32, hn::UpperHalf(dh, n)), scale),
                          hn::PromoteTo(d32, hn::UpperHalf(dh, d)));
    return hn::Combine(d16, hn::DemoteTo(dh, upper), hn::DemoteTo(dh, lower));
#endif
}

// One of the channels of HsvToRgb. Sector k of the red channel gives
// V, q, p, p, t, V for k = 0..5; green and blue are the same sequence
// started at k + 4 and k + 2 (mod 6).
template <class V> V SectorChannel(V k, V value, V p, V q, V t) {
    const hn::DFromV<V> d;
    V channel = hn::IfThenElse(hn::Eq(k, hn::Set(d, 1)), q, p);
    channel = hn::IfThenElse(hn::Eq(k, hn::Set(d, 4)), t, channel);
    return hn::IfThenElse(hn::Or(hn::Eq(k, hn::Zero(d)), hn::Eq(k, hn::Set(d, 5))), value, channel);
}

// (k + step) mod 6 for k in 0..5 and step in 0..5.
template <class V> V NextSector(V k, int step) {
    const hn::DFromV<V> d;
    const V moved = hn::Add(k, hn::Set(d, static_cast<int16_t>(step)));
    return hn::IfThenElse(hn::Gt(moved, hn::Set(d, 5)), hn::Sub(moved, hn::Set(d, 6)), moved);
}

// The scalar path of the row's tail: the two reference conversions.
inline void ShiftPixel(const uint8_t* in, uint8_t* out, HueSaturationShift shift) {
    const HsvColour hsv = RgbToHsv(in[2], in[1], in[0]);
    int hue = hsv.hue + shift.hue;
    if (hue >= 360)
        hue -= 360;
    const RgbColour rgb = HsvToRgb(hue, kClampTable[hsv.saturation + shift.saturation + kClampBias],
                                   kClampTable[hsv.value + shift.value + kClampBias]);
    out[0] = static_cast<uint8_t>(rgb.blue);
    out[1] = static_cast<uint8_t>(rgb.green);
    out[2] = static_cast<uint8_t>(rgb.red);
}

// One 16-bit lane per pixel (16 pixels a step with AVX2): channels, hue,
// saturation and value in 16 bits, the two divisions by a level in 32-bit
// floats. No branches: the largest channel, the hue's wrap and the sector are
// all chosen by masks. A grey needs no case of its own: its difference is 0,
// so red counts as largest with numerator 0 (hue 0, saturation 0), and a
// chroma of 0 makes p = q = t = V.
void HueSaturationRowTarget(const uint8_t* source, uint8_t* destination, const uint8_t* selection,
                            int32_t width, HueSaturationShift shift) {
    const hn::ScalableTag<int16_t> d16;
    const hn::RebindToUnsigned<decltype(d16)> du16;
    const hn::Rebind<uint8_t, decltype(d16)> d8;
    using V16 = hn::Vec<decltype(d16)>;
    const auto lanes = static_cast<int32_t>(hn::Lanes(d16));
    const V16 zero = hn::Zero(d16), one = hn::Set(d16, 1), full = hn::Set(d16, 255);
    const V16 turn = hn::Set(d16, 360);
    const V16 hueShift = hn::Set(d16, static_cast<int16_t>(shift.hue));
    const V16 saturationOffset = hn::Set(d16, static_cast<int16_t>(shift.saturation));
    const V16 valueOffset = hn::Set(d16, static_cast<int16_t>(shift.value));
    int32_t x = 0;
    for (; x + lanes <= width; x += lanes) {
        hn::Vec<decltype(d8)> blue8, green8, red8;
        hn::LoadInterleaved3(d8, source + ptrdiff_t{3} * x, blue8, green8, red8);
        const V16 blue = hn::PromoteTo(d16, blue8);
        const V16 green = hn::PromoteTo(d16, green8);
        const V16 red = hn::PromoteTo(d16, red8);

        // RgbToHsv.
        const V16 max = hn::Max(hn::Max(red, green), blue);
        const V16 diff = hn::Sub(max, hn::Min(hn::Min(red, green), blue));
        const auto redIsMax = hn::Eq(red, max);
        const auto greenIsMax = hn::AndNot(redIsMax, hn::Eq(green, max));
        const V16 numerator =
            hn::IfThenElse(redIsMax, hn::Sub(green, blue),
                           hn::IfThenElse(greenIsMax, hn::Sub(blue, red), hn::Sub(red, green)));
        const V16 sectorStart = hn::IfThenElse(
            redIsMax, zero, hn::IfThenElse(greenIsMax, hn::Set(d16, 120), hn::Set(d16, 240)));
        const V16 saturation = ScaledQuotient<255>(d16, diff, hn::Max(max, one));
        const V16 hueStep = ScaledQuotient<60>(d16, numerator, hn::Max(diff, one));

        // The shift: the measured hue (-60..359 before its own wrap) plus the
        // rotation (0..359) lies in -60..718, so one wrap either way gives
        // the same 0..359 as wrapping twice.
        V16 hue = hn::Add(hn::Add(sectorStart, hueStep), hueShift);
        hue = hn::IfThenElse(hn::Lt(hue, zero), hn::Add(hue, turn), hue);
        hue = hn::IfThenElse(hn::Gt(hue, hn::Set(d16, 359)), hn::Sub(hue, turn), hue);
        const V16 s = hn::Min(hn::Max(hn::Add(saturation, saturationOffset), zero), full);
        const V16 value = hn::Min(hn::Max(hn::Add(max, valueOffset), zero), full);

        // HsvToRgb.
        const auto chroma16 = hn::ShiftRight<7>(
            hn::MulHigh(hn::BitCast(du16, hn::Mul(s, value)), hn::Set(du16, kBy255)));
        const V16 chroma = hn::BitCast(d16, chroma16);
        const auto sector16 = hn::MulHigh(hn::BitCast(du16, hue), hn::Set(du16, kSector));
        const V16 sector = hn::BitCast(d16, sector16);
        const V16 withinSector = hn::Sub(hue, hn::Mul(sector, hn::Set(d16, 60)));
        const V16 f = hn::BitCast(
            d16, hn::ShiftRight<5>(hn::MulHigh(hn::BitCast(du16, hn::Mul(chroma, withinSector)),
                                               hn::Set(du16, kBy60))));
        const V16 p = hn::Sub(value, chroma);
        const V16 q = hn::Sub(value, f);
        const V16 t = hn::Add(p, f);
        auto newRed = hn::DemoteTo(d8, SectorChannel(sector, value, p, q, t));
        auto newGreen = hn::DemoteTo(d8, SectorChannel(NextSector(sector, 4), value, p, q, t));
        auto newBlue = hn::DemoteTo(d8, SectorChannel(NextSector(sector, 2), value, p, q, t));

        uint8_t* out = destination + ptrdiff_t{3} * x;
        if (selection != nullptr) {
            const auto chosen = hn::Eq(hn::LoadU(d8, selection + x), hn::Set(d8, 255));
            hn::Vec<decltype(d8)> oldBlue, oldGreen, oldRed;
            hn::LoadInterleaved3(d8, out, oldBlue, oldGreen, oldRed);
            newBlue = hn::IfThenElse(chosen, newBlue, oldBlue);
            newGreen = hn::IfThenElse(chosen, newGreen, oldGreen);
            newRed = hn::IfThenElse(chosen, newRed, oldRed);
        }
        hn::StoreInterleaved3(newBlue, newGreen, newRed, d8, out);
    }
    const uint8_t* in = source + ptrdiff_t{3} * x;
    uint8_t* out = destination + ptrdiff_t{3} * x;
    for (; x < width; ++x, in += 3, out += 3)
        if (selection == nullptr || selection[x] == 255)
            ShiftPixel(in, out, shift);
}

} // namespace HWY_NAMESPACE
} // namespace halvera
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace halvera {

HWY_EXPORT(HueSaturationRowTarget);

void HueSaturationRow(const uint8_t* source, uint8_t* destination, const uint8_t* selection,
                      int32_t width, HueSaturationShift shift) {
    HWY_DYNAMIC_DISPATCH(HueSaturationRowTarget)(source, destination, selection, width, shift);
}

} // namespace halvera
#endif
