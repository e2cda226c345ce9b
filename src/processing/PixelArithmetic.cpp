// The thirteen per-value operations of the image arithmetic. Every operation
// reads a from A' and b from B; all but Add (see AddBlend) work through tables
// of 256 entries built once per run, so the multiplications by the
// transparency become look-ups.

#include "processing/ArithmeticOverlap.h"
#include "processing/ArithmeticRows.h"

#include <optional>

namespace halvera::arithmetic {

namespace {

// Minus: (100 * a - t * b) div 100, negative results become 0.
class MinusOp {
public:
    explicit MinusOp(int t) {
        for (int v = 0; v < 256; ++v) {
            hundredA_[v] = 100 * v;
            takeB_[v] = t * v;
        }
    }
    uint8_t operator()(uint8_t a, uint8_t b) const {
        const int32_t value = hundredA_[a] - takeB_[b];
        return static_cast<uint8_t>(value < 0 ? 0 : value / 100);
    }

private:
    int32_t hundredA_[256];
    int32_t takeB_[256];
};

// Multiply: (a * b * t) div 1000, at most 255.
class MultiplyOp {
public:
    explicit MultiplyOp(int t) {
        for (int v = 0; v < 256; ++v)
            takeB_[v] = t * v;
    }
    uint8_t operator()(uint8_t a, uint8_t b) const {
        const int32_t value = a * takeB_[b] / 1000;
        return static_cast<uint8_t>(value > 255 ? 255 : value);
    }

private:
    int32_t takeB_[256];
};

// Divide: a div d with d = (b * t) div 1000, and 255 when d is 0. d is at most
// 25, so every quotient is a table entry and no division is left per pixel.
class DivideOp {
public:
    explicit DivideOp(int t) {
        for (int v = 0; v < 256; ++v)
            divisor_[v] = static_cast<uint8_t>(v * t / 1000);
        for (int d = 0; d < kDivisors; ++d)
            for (int a = 0; a < 256; ++a)
                quotient_[d][a] = static_cast<uint8_t>(d == 0 ? 255 : a / d);
    }
    uint8_t operator()(uint8_t a, uint8_t b) const { return quotient_[divisor_[b]][a]; }

private:
    static constexpr int kDivisors = 255 * 100 / 1000 + 1;
    uint8_t divisor_[256];
    uint8_t quotient_[kDivisors][256];
};

// B scaled by the transparency, (b * t) div 100, for Max, Min and Sub.
class ScaledB {
public:
    explicit ScaledB(int t) {
        for (int v = 0; v < 256; ++v)
            value_[v] = static_cast<uint8_t>(v * t / 100);
    }
    uint8_t operator[](uint8_t b) const { return value_[b]; }

private:
    uint8_t value_[256];
};

struct MaxOp {
    ScaledB scaled;
    uint8_t operator()(uint8_t a, uint8_t b) const { return a > scaled[b] ? a : scaled[b]; }
};

struct MinOp {
    ScaledB scaled;
    uint8_t operator()(uint8_t a, uint8_t b) const { return a < scaled[b] ? a : scaled[b]; }
};

struct SubOp {
    ScaledB scaled;
    uint8_t operator()(uint8_t a, uint8_t b) const {
        return static_cast<uint8_t>(a > scaled[b] ? a - scaled[b] : scaled[b] - a);
    }
};

// The logical operations see every value as false (0) or true (255).
class TruthTable {
public:
    TruthTable() {
        for (int v = 0; v < 256; ++v)
            value_[v] = v == 0 ? 0 : 255;
    }
    uint8_t operator[](uint8_t v) const { return value_[v]; }

private:
    uint8_t value_[256];
};

struct AndOp {
    TruthTable truth;
    uint8_t operator()(uint8_t a, uint8_t b) const { return truth[a] & truth[b]; }
};

struct OrOp {
    TruthTable truth;
    uint8_t operator()(uint8_t a, uint8_t b) const { return truth[a] | truth[b]; }
};

struct XorOp {
    TruthTable truth;
    uint8_t operator()(uint8_t a, uint8_t b) const { return truth[a] ^ truth[b]; }
};

struct AndNotOp {
    TruthTable truth;
    uint8_t operator()(uint8_t a, uint8_t b) const {
        return static_cast<uint8_t>(~(truth[a] & truth[b]));
    }
};

struct OrAndOp {
    TruthTable truth;
    uint8_t operator()(uint8_t a, uint8_t b) const {
        return static_cast<uint8_t>(~(truth[a] | truth[b]));
    }
};

struct NotOp {
    TruthTable truth;
    uint8_t operator()(uint8_t a, uint8_t) const { return static_cast<uint8_t>(~truth[a]); }
};

// Results of this many bytes or more are written past the cache: more than a
// desktop processor's last-level cache holds, so their lines would be pushed
// out to memory anyway before anything reads them.
constexpr int32_t kStreamedResultBytes = 16 << 20;

// The operations with a vector row kernel, for whole rows of all channels.
std::optional<ArithmeticRowKind> RowKindOf(ArithmeticOperation operation) {
    switch (operation) {
    case ArithmeticOperation::Add:
        return ArithmeticRowKind::Add;
    case ArithmeticOperation::Minus:
        return ArithmeticRowKind::Minus;
    case ArithmeticOperation::Max:
        return ArithmeticRowKind::Max;
    case ArithmeticOperation::Min:
        return ArithmeticRowKind::Min;
    case ArithmeticOperation::Sub:
        return ArithmeticRowKind::Sub;
    default:
        return std::nullopt;
    }
}

} // namespace

void RunPixelArithmetic(const Overlap& overlap, const CDibImage* mask, PixelChoice choice,
                        const ArithmeticSettings& settings) {
    const int t = settings.transparency;
    const ChannelMap single = SingleChannelRule(settings.outputChannel, settings.inputChannel);
    const ChannelMap whole = WholePixelRule(settings.outputChannel, settings.inputChannel);
    const auto run = [&](const ChannelMap& map, const auto& op) {
        CombineOverlap(overlap, map, mask, choice, op);
    };
    const std::optional<ArithmeticRowKind> rowKind = RowKindOf(settings.operation);
    if (rowKind && choice == PixelChoice::All && single.identity()) {
        const auto bytes = static_cast<size_t>(3 * (overlap.right - overlap.left));
        const ptrdiff_t from = ptrdiff_t{3} * overlap.left;
        const bool streamed = overlap.image.bitsSize >= kStreamedResultBytes;
        const auto row = streamed ? StreamArithmeticRow : ArithmeticRow;
        // Bottom row first: the rows then follow one another upwards in
        // memory, the order in which the processor fetches ahead best.
        for (int32_t y = overlap.bottom - 1; y >= overlap.top; --y)
            row(*rowKind, overlap.working.row(y) + from, overlap.inputPixel(overlap.left, y),
                overlap.image.row(y) + from, bytes, t);
        if (streamed)
            FinishStreamedArithmeticRows();
        return;
    }
    switch (settings.operation) {
    case ArithmeticOperation::Add:
        return run(single, AddBlend(t));
    case ArithmeticOperation::Minus:
        return run(single, MinusOp(t));
    case ArithmeticOperation::Multiply:
        return run(single, MultiplyOp(t));
    case ArithmeticOperation::Divide:
        return run(single, DivideOp(t));
    case ArithmeticOperation::And:
        return run(single, AndOp{});
    case ArithmeticOperation::Or:
        return run(whole, OrOp{});
    case ArithmeticOperation::Not:
        return run(NegationRule(settings.outputChannel, settings.inputChannel), NotOp{});
    case ArithmeticOperation::Xor:
        return run(whole, XorOp{});
    case ArithmeticOperation::AndNot:
        return run(single, AndNotOp{});
    case ArithmeticOperation::OrAnd:
        return run(whole, OrAndOp{});
    case ArithmeticOperation::Max:
        return run(single, MaxOp{ScaledB(t)});
    case ArithmeticOperation::Min:
        return run(single, MinOp{ScaledB(t)});
    case ArithmeticOperation::Sub:
        return run(single, SubOp{ScaledB(t)});
    case ArithmeticOperation::FeatureAnd:
    case ArithmeticOperation::MaskAnd:
        break; // not per-value operations; see their own files
    }
}

} // namespace halvera::arithmetic
