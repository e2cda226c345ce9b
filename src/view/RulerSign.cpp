#include "view/RulerSign.h"

#include "view/RulerSignGlyphs.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <span>

namespace halvera {

namespace {

constexpr int kMinBarPixels = 50;
constexpr int kUnitStep = 5;
constexpr int kTickReach = 5;
constexpr int kLabelRise = 20;
constexpr int kDigitAdvance = 8;
constexpr int kMaxLabelDigits = 8;

int32_t RoundedPixels(double pixelsPerUnit, int units) {
    return static_cast<int32_t>(pixelsPerUnit * units + 0.5);
}

// The unit's letters and where each stands after the last digit.
struct UnitLetter {
    char letter;
    int offset;
};

std::span<const UnitLetter> UnitLetters(int unit) {
    static constexpr UnitLetter kMicrometre[] = {{'u', 0}, {'m', 10}};
    static constexpr UnitLetter kMillimetre[] = {{'m', 0}, {'m', 12}};
    static constexpr UnitLetter kCentimetre[] = {{'c', 0}, {'m', 8}};
    static constexpr UnitLetter kDecimetre[] = {{'d', 0}, {'c', 9}, {'m', 17}};
    static constexpr UnitLetter kInch[] = {{'i', 0}, {'n', 6}, {'c', 16}, {'h', 24}};
    switch (unit) {
    case 1:
        return kMillimetre;
    case 2:
        return kCentimetre;
    case 3:
        return kDecimetre;
    case 4:
        return kInch;
    default:
        return kMicrometre;
    }
}

void DrawGlyph(const PaintCanvas& canvas, char glyph, int32_t left, int32_t top) {
    const std::array<uint16_t, 16>* rows = RulerSignGlyph(glyph);
    if (rows == nullptr)
        return;
    for (int r = 0; r < 16; ++r) {
        const uint16_t bits = (*rows)[r];
        for (int c = 0; c < 16; ++c) {
            if (bits & (0x8000u >> c))
                canvas.pixel(left + c, top + r);
        }
    }
}

void DrawLabel(const PaintCanvas& canvas, PixelPoint leftEnd, const RulerSignBar& bar, int unit) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, bar.units);
    const int count = static_cast<int>(end - digits);
    if (error != std::errc() || count > kMaxLabelDigits)
        return;
    const int32_t top = leftEnd.y - kLabelRise;
    int32_t x = leftEnd.x + (bar.pixels - count * kDigitAdvance - 16) / 2;
    for (int i = 0; i < count; ++i, x += kDigitAdvance)
        DrawGlyph(canvas, digits[i], x, top);
    for (const UnitLetter& letter : UnitLetters(unit))
        DrawGlyph(canvas, letter.letter, x + letter.offset, top);
}

} // namespace

RulerSignScale RulerSignScaleFrom(const AppSettings& settings) {
    return {settings.xRealRulerData, settings.xPixelRulerData, settings.RulerUnit};
}

RulerSignBar ChooseRulerSignBar(const RulerSignScale& scale, int32_t imageWidth) {
    if (scale.pixelLength < 1 || !(scale.realLength > 0.0))
        return {};
    const double k = scale.pixelsPerUnit();
    if (k * kUnitStep >= imageWidth)
        return {};
    // k >= 1 / 2000 within the settings' limits, so this ends within about
    // 20000 steps; the bound keeps any other input from running away.
    for (int n = kUnitStep; n <= 100000000; n += kUnitStep) {
        const int32_t pixels = RoundedPixels(k, n);
        if (pixels >= kMinBarPixels)
            return {n, pixels};
    }
    return {};
}

RulerSignBar RulerSignBarForLength(const RulerSignScale& scale, int32_t pixelLength) {
    const double k = scale.pixelsPerUnit();
    const double units = std::clamp(std::trunc(pixelLength / k), 1.0, 1.0e9);
    const int n = static_cast<int>(units);
    return {n, RoundedPixels(k, n)};
}

void DrawRulerSign(const PaintCanvas& canvas, PixelPoint leftEnd, const RulerSignBar& bar,
                   int unit) {
    const int32_t right = leftEnd.x + bar.pixels;
    canvas.span(leftEnd.y, leftEnd.x, right);
    for (int32_t y = leftEnd.y - kTickReach; y <= leftEnd.y + kTickReach; ++y) {
        canvas.pixel(leftEnd.x, y);
        canvas.pixel(right, y);
    }
    DrawLabel(canvas, leftEnd, bar, unit);
}

} // namespace halvera
