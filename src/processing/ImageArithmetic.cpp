#include "processing/ImageArithmetic.h"

#include "image/RegionOfInterest.h"
#include "processing/ArithmeticOverlap.h"
#include "processing/OperandCheck.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace halvera {

const std::array<std::string_view, kArithmeticOperationCount> kArithmeticOperationNames = {
    "Add(A = A + B)",
    "Minus(A = A - B)",
    "Multiply(A = A * B)",
    "Divide(A = A / B)",
    "And(A = A and B)",
    "Or(A = A or B)",
    "Not(A = !A)",
    "Xor(A = A xor B)",
    "And Not(A = !(A and B))",
    "Or And(A = !(A or B))",
    "Max(A = max (A, B))",
    "Min(A = min(A, B))",
    "Sub(A = abs(A - B))",
    "Feature And(A = A and F(B))",
    "Mask And(A = A and M(B))",
};

const std::array<std::string_view, 4> kArithmeticChannelNames = {"RGB", "R", "G", "B"};

namespace {

bool ValidSettings(const ArithmeticSettings& settings) {
    const auto operation = static_cast<int>(settings.operation);
    const auto output = static_cast<int>(settings.outputChannel);
    const auto input = static_cast<int>(settings.inputChannel);
    return operation >= 0 && operation < kArithmeticOperationCount && output >= 0 && output <= 3 &&
           input >= 0 && input <= 3 && settings.transparency >= 0 && settings.transparency <= 100 &&
           std::abs(settings.xShift) <= kMaxArithmeticShift &&
           std::abs(settings.yShift) <= kMaxArithmeticShift;
}

arithmetic::Overlap FindOverlap(const CDibImage& image, const CDibImage& working,
                                const CDibImage& input, const ArithmeticSettings& settings) {
    arithmetic::Overlap overlap{image, working, input};
    overlap.xShift = settings.xShift;
    overlap.yShift = settings.yShift;
    overlap.left = std::max(0, settings.xShift);
    overlap.right = std::min(image.width(), input.width() + settings.xShift);
    overlap.top = std::max(0, settings.yShift);
    overlap.bottom = std::min(image.height, input.height + settings.yShift);
    return overlap;
}

// Whether the operation writes every byte of every overlap pixel: then A'
// need not be copied into A there, only around it.
bool WritesWholeOverlap(const ArithmeticSettings& settings, bool limited) {
    return !limited && settings.outputChannel == ArithmeticChannel::Rgb &&
           settings.inputChannel == ArithmeticChannel::Rgb &&
           settings.operation != ArithmeticOperation::MaskAnd &&
           settings.operation != ArithmeticOperation::FeatureAnd;
}

// Copies from A' into A everything outside the overlap: the header, the rows
// above and below it, and each overlap row's bytes left and right of it
// (padding included).
void CopyAroundOverlap(const arithmetic::Overlap& overlap) {
    const CDibImage& image = overlap.image;
    const CDibImage& working = overlap.working;
    const auto headerBytes =
        static_cast<size_t>(image.bits - reinterpret_cast<uint8_t*>(image.header));
    std::memcpy(image.header, working.header, headerBytes);
    const auto rowBytes = static_cast<size_t>(image.stride);
    const auto leftBytes = static_cast<size_t>(3 * overlap.left);
    const auto rightStart = static_cast<size_t>(3 * overlap.right);
    for (int32_t y = image.height - 1; y >= 0; --y) {
        if (y < overlap.top || y >= overlap.bottom) {
            std::memcpy(image.row(y), working.row(y), rowBytes);
            continue;
        }
        std::memcpy(image.row(y), working.row(y), leftBytes);
        std::memcpy(image.row(y) + rightStart, working.row(y) + rightStart, rowBytes - rightStart);
    }
}

} // namespace

bool ImageArithmetic(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
                     const CDibImage& input, const ArithmeticSettings& settings) {
    if (!PointOperands(image, working, mask) || image.blockSize != working.blockSize ||
        image.bits == working.bits || !IsRgbImage(input) || image.bits == input.bits ||
        !ValidSettings(settings))
        return false;

    const arithmetic::Overlap overlap = FindOverlap(image, working, input, settings);
    const bool regionExists = MaskHasRegion(mask);
    const bool limited = settings.limitToRegion && regionExists;
    if (overlap.empty() || !WritesWholeOverlap(settings, limited))
        CopyBlock(image, working);
    else
        CopyAroundOverlap(overlap);
    if (overlap.empty())
        return true;

    switch (settings.operation) {
    case ArithmeticOperation::MaskAnd:
        if (regionExists)
            arithmetic::RunMaskAnd(overlap, mask, settings);
        break;
    case ArithmeticOperation::FeatureAnd:
        return arithmetic::RunFeatureAnd(overlap, limited ? &mask : nullptr);
    default:
        arithmetic::RunPixelArithmetic(
            overlap, &mask,
            limited ? arithmetic::PixelChoice::Selected : arithmetic::PixelChoice::All, settings);
        break;
    }
    return true;
}

} // namespace halvera
