#include "warping/ScaleColumns.h"

#include "warping/ScaleRows.h"
#include "warping/ScaleWeights.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <optional>

namespace halvera {

bool ScaleColumns::Build(const AxisStep* steps, int32_t count, int32_t imageWidth) {
    count_ = count;
    firstTarget_ = count > 0 ? steps[0].target : 0;
    rowBytes_ = 3 * static_cast<size_t>(imageWidth);
    const auto columns = static_cast<size_t>(count) + 1;
    offsets_.reset(new (std::nothrow) uint32_t[columns]);
    fractions_.reset(new (std::nothrow) double[columns]);
    weights_.reset(new (std::nothrow) uint16_t[3 * columns]);
    unweighted_.reset(new (std::nothrow) int32_t[columns]);
    if (!offsets_ || !fractions_ || !weights_ || !unweighted_)
        return false;
    WeightCache weightOf(AcrossWeight);
    for (int32_t c = 0; c < count; ++c) {
        offsets_[c] = 3 * static_cast<uint32_t>(steps[c].source);
        const double dx = steps[c].fraction;
        fractions_[c] = dx;
        nearest_ = nearest_ && dx == 0.0;
        const std::optional<uint16_t> weight = weightOf(dx);
        if (!weight)
            unweighted_[unweightedCount_++] = c;
        std::fill_n(weights_.get() + 3 * static_cast<ptrdiff_t>(c), 3, weight.value_or(0));
    }
    BuildBlocks();
    return true;
}

void ScaleColumns::BuildBlocks() {
    constexpr uint32_t kWindow = 32;
    if (rowBytes_ < kWindow || count_ < 6)
        return;
    const int32_t blocks = bytes() / 16;
    bases_.reset(new (std::nothrow) uint32_t[static_cast<size_t>(blocks)]);
    indices_.reset(new (std::nothrow) uint8_t[64 * static_cast<size_t>(blocks)]);
    if (!bases_ || !indices_)
        return; // the pixel-by-pixel gather needs no table
    bool leftFits = true, pairFits = true;
    for (int32_t b = 0; b < blocks; ++b) {
        uint32_t sources[16];
        for (int i = 0; i < 16; ++i) {
            const int32_t byte = 16 * b + i;
            sources[i] = offsets_[byte / 3] + static_cast<uint32_t>(byte % 3);
        }
        const auto [lowest, highest] = std::minmax_element(sources, sources + 16);
        // The window ends inside the row: a right pixel is at most its last byte.
        const uint32_t base = std::min(*lowest, static_cast<uint32_t>(rowBytes_) - kWindow);
        leftFits = leftFits && *highest - base < kWindow;
        pairFits = pairFits && *highest + 3 - base < kWindow;
        if (!leftFits)
            return;
        bases_[b] = base;
        // Per output byte its place in the window's lower and upper half, or
        // 0x80 (a zero byte) where it lies in the other half.
        uint8_t* index = indices_.get() + 64 * static_cast<ptrdiff_t>(b);
        for (int i = 0; i < 16; ++i)
            for (const uint32_t side : {0u, 3u}) {
                const uint32_t at = std::min(sources[i] + side - base, kWindow - 1);
                uint8_t* pair = index + (side == 0 ? 0 : 32);
                pair[i] = at < 16 ? static_cast<uint8_t>(at) : 0x80;
                pair[16 + i] = at < 16 ? 0x80 : static_cast<uint8_t>(at - 16);
            }
    }
    blocks_ = blocks;
    leftBlocks_ = leftFits;
    pairBlocks_ = pairFits;
}

void ScaleColumns::GatherLeft(const uint8_t* row, uint8_t* out, bool slack) const {
    int32_t c = 0;
    if (leftBlocks_) {
        GatherBlocks(row, bases_.get(), indices_.get(), blocks_, out, nullptr);
        c = 16 * blocks_ / 3; // the first column not wholly gathered
    }
    const uint32_t* const offsets = offsets_.get();
    const int32_t whole = slack || count_ == 0 ? count_ : count_ - 1;
    for (; c < whole; ++c) // 4 bytes: the source pixel has a right neighbour
        std::memcpy(out + 3 * static_cast<ptrdiff_t>(c), row + offsets[c], 4);
    if (whole < count_)
        std::memcpy(out + 3 * static_cast<ptrdiff_t>(whole), row + offsets[whole], 3);
}

void ScaleColumns::Interpolate(const uint8_t* row, uint8_t* left, uint8_t* right,
                               uint8_t* out) const {
    if (nearest_) {
        GatherLeft(row, out, true);
        return;
    }
    GatherPairs(row, left, right);
    BlendAcrossRow(left, right, weights_.get(), out, bytes());
    for (int32_t k = 0; k < unweightedCount_; ++k) {
        const int32_t c = unweighted_[k];
        const uint8_t* p = row + offsets_[c];
        const double dx = fractions_[c];
        for (int i = 0; i < 3; ++i)
            out[3 * c + i] = static_cast<uint8_t>(p[i] + AcrossByRule(p[i + 3] - p[i], dx));
    }
}

// Both pixels of every column. Pixel by pixel: one 8-byte read where the row
// goes on far enough, split into two 4-byte writes that the next column
// overlaps.
void ScaleColumns::GatherPairs(const uint8_t* row, uint8_t* left, uint8_t* right) const {
    static_assert(std::endian::native == std::endian::little, "pixels are split by shifts");
    int32_t c = 0;
    if (pairBlocks_) {
        GatherBlocks(row, bases_.get(), indices_.get(), blocks_, left, right);
        c = 16 * blocks_ / 3;
    }
    const uint32_t* const offsets = offsets_.get();
    for (; c < count_; ++c) {
        const uint32_t offset = offsets[c];
        uint64_t pair = 0;
        if (offset + size_t{8} <= rowBytes_)
            std::memcpy(&pair, row + offset, 8);
        else
            std::memcpy(&pair, row + offset, 6);
        const auto leftPixel = static_cast<uint32_t>(pair);
        const auto rightPixel = static_cast<uint32_t>(pair >> 24);
        std::memcpy(left + 3 * static_cast<ptrdiff_t>(c), &leftPixel, 4);
        std::memcpy(right + 3 * static_cast<ptrdiff_t>(c), &rightPixel, 4);
    }
}

} // namespace halvera
