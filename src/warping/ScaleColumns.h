#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace halvera {

// One destination column or row of a zoom and the source column or row it
// samples.
struct AxisStep {
    int32_t target;  // destination x or y
    int32_t source;  // truncated source x or y
    double fraction; // source position minus `source`, 0 <= fraction < 1
};

// The columns of a zoom as the row kernels use them: where each one's two
// source pixels lie, its fixed-point weight (ScaleWeights.h) repeated for the
// three channels, and the few columns whose fraction has no weight and keep
// the double rule. The steps' destination columns must be consecutive (the
// source positions are monotonic along a span, so the steps that are kept
// are); their sources must have a right neighbour in rows of `imageWidth`
// pixels.
//
// Where the pixels of every 16 output bytes lie within 32 bytes of the source
// row (zooms in, and out down to a half), they are gathered a block at a time
// by byte shuffles; otherwise, and for the bytes after the last whole block,
// pixel by pixel.
class ScaleColumns {
public:
    // False when a table cannot be allocated.
    bool Build(const AxisStep* steps, int32_t count, int32_t imageWidth);

    int32_t count() const { return count_; }
    int32_t bytes() const { return 3 * count_; }
    int32_t firstTarget() const { return firstTarget_; }
    // Every fraction is 0: the blend across is the left pixel itself.
    bool nearest() const { return nearest_; }

    // The left pixel of every column, one after the other, into `out`, which
    // has room for one byte more than bytes() when `slack`; without it
    // nothing after the last pixel changes.
    void GatherLeft(const uint8_t* row, uint8_t* out, bool slack) const;

    // One source row blended across into `out` (bytes() + 1 bytes), with
    // `left` and `right` as room for the gathered pixel pairs (as long).
    void Interpolate(const uint8_t* row, uint8_t* left, uint8_t* right, uint8_t* out) const;

private:
    void BuildBlocks();
    void GatherPairs(const uint8_t* row, uint8_t* left, uint8_t* right) const;

    int32_t count_ = 0;
    int32_t firstTarget_ = 0;
    size_t rowBytes_ = 0;
    bool nearest_ = true;
    std::unique_ptr<uint32_t[]> offsets_;   // byte offset of each column's left pixel
    std::unique_ptr<double[]> fractions_;   // for the columns without a weight
    std::unique_ptr<uint16_t[]> weights_;   // per channel byte
    std::unique_ptr<int32_t[]> unweighted_; // the columns without a weight
    int32_t unweightedCount_ = 0;

    // The whole 16-byte output blocks: where each one's 32-byte source window
    // starts and its shuffle indices (see GatherBlocks in ScaleRows.h).
    int32_t blocks_ = 0;
    bool leftBlocks_ = false; // the left pixels of every block fit their window
    bool pairBlocks_ = false; // so do the right ones
    std::unique_ptr<uint32_t[]> bases_;
    std::unique_ptr<uint8_t[]> indices_;
};

} // namespace halvera
