#include "processing/Convolve3x3Mean.h"

#include "image/WorkerRowBands.h"
#include "processing/OperandCheck.h"
#include "processing/WeightedMeanRows.h"

#include <cstdlib>
#include <optional>
#include <vector>

namespace halvera {

namespace {

// Every weighted sum a kernel can produce from 8-bit values lies in
// 255 * (negative weights) .. 255 * (positive weights); one table maps each of
// them to its output byte, so the pass needs no division.
struct QuotientTable {
    int32_t lowestSum = 0;
    std::vector<uint8_t> outputs;

    explicit QuotientTable(const Kernel3x3& kernel) {
        int32_t positive = 0, negative = 0;
        for (const int32_t w : kernel.weights)
            (w > 0 ? positive : negative) += w;
        const int32_t absoluteSum = positive - negative;
        const int32_t divisor = absoluteSum == 0 ? 1 : absoluteSum;
        const int32_t bias = 128 - 128 * ((positive + negative) / divisor);
        lowestSum = 255 * negative;
        outputs.resize(static_cast<size_t>(255 * positive - lowestSum + 1));
        for (size_t i = 0; i < outputs.size(); ++i) {
            const int32_t value = bias + (lowestSum + static_cast<int32_t>(i)) / divisor;
            outputs[i] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
        }
    }
};

// The weights as 16-bit multipliers and their sum's exact division, when
// every weight is non-negative and every sum fits 16 bits: then the output is
// sum / (sum of weights) with no bias (it always lies in 0..255), which the
// vector row computes.
struct VectorMean {
    std::array<uint16_t, 9> weights{};
    ExactDivision division;
};

std::optional<VectorMean> VectorMeanOf(const Kernel3x3& kernel) {
    VectorMean mean;
    int32_t sum = 0;
    for (size_t i = 0; i < kernel.weights.size(); ++i) {
        if (kernel.weights[i] < 0)
            return std::nullopt;
        mean.weights[i] = static_cast<uint16_t>(kernel.weights[i]);
        sum += kernel.weights[i];
    }
    if (sum == 0)
        return std::nullopt;
    const std::optional<ExactDivision> division = FindExactDivision(sum, 255 * sum);
    if (!division)
        return std::nullopt;
    mean.division = *division;
    return mean;
}

// Both passes share the rows among the pixel workers in chunks; each worker
// has its own slot in the row buffers, allocated before any pixel is written.
void RunVectorMean(const CDibImage& destination, const CDibImage& source,
                   const RegionOfInterest& region, const VectorMean& mean) {
    const int32_t width = destination.width();
    ForEachNeighbourhoodRow(destination, source, region,
                            SharedRowChunks(destination.height, kFilterChunkRows),
                            [&](int64_t, const SourceRows& around, uint8_t* out) {
                                WeightedMeanRow(around.north, around.centre, around.south, out,
                                                width, mean.weights, mean.division);
                            });
}

void RunTableMean(const CDibImage& destination, const CDibImage& source,
                  const RegionOfInterest& region, const Kernel3x3& kernel) {
    const int32_t width = destination.width();
    const QuotientTable quotients(kernel);
    const uint8_t* outputs = quotients.outputs.data() - quotients.lowestSum;
    const std::array<int32_t, 9> weights = kernel.weights;
    const SharedRowChunks chunks(destination.height, kFilterChunkRows);
    const size_t bytes = 3 * static_cast<size_t>(width);
    SlotRows<int32_t> sums(chunks.slots(), bytes);
    ForEachNeighbourhoodRow(destination, source, region, chunks,
                            [&](int64_t slot, const SourceRows& around, uint8_t* out) {
                                // A row of weighted sums first, in a loop the compiler vectorises,
                                // then the table look-ups, which it cannot.
                                int32_t* slotSums = sums.slot(slot);
                                FilterChannelRow(
                                    around, slotSums, width,
                                    [&weights](const Window3x3& p) { return Weigh(weights, p); });
                                for (size_t i = 0; i < bytes; ++i)
                                    out[i] = outputs[slotSums[i]];
                            });
}

} // namespace

bool Convolve3x3Mean(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                     const Kernel3x3& kernel) {
    if (!NeighbourhoodOperands(destination, source, mask) || !IsKernelInRange(kernel))
        return false;
    const int32_t width = destination.width();
    if (width == 0)
        return true;
    const RegionOfInterest region(mask);
    if (const std::optional<VectorMean> mean = VectorMeanOf(kernel)) {
        RunVectorMean(destination, source, region, *mean);
        return true;
    }
    RunTableMean(destination, source, region, kernel);
    return true;
}

} // namespace halvera
