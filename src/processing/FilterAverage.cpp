#include "processing/FilterAverage.h"

#include "processing/OperandCheck.h"
#include "view/RegionOfInterest.h"

#include <algorithm>
#include <vector>

namespace halvera {

namespace {

constexpr int kLargestWindow = 15;

// Exact division of a window sum by its pixel count without a divide:
// floor(n / d) = (n * (floor(2^32 / d) + 1)) >> 32 whenever n * d < 2^32,
// which holds for sums of at most 15 x 15 levels of 255 and counts up to 225.
class CountDivider {
public:
    explicit CountDivider(int32_t largestCount) : multipliers_(largestCount + 1) {
        for (int32_t d = 1; d <= largestCount; ++d)
            multipliers_[d] = (uint64_t{1} << 32) / static_cast<uint64_t>(d) + 1;
    }
    uint8_t divide(int32_t sum, int32_t count) const {
        return static_cast<uint8_t>((static_cast<uint64_t>(sum) * multipliers_[count]) >> 32);
    }

private:
    std::vector<uint64_t> multipliers_;
};

// Per channel byte the sum over the window's rows, kept up to date as the
// window moves down one row.
class ColumnSums {
public:
    ColumnSums(const CDibImage& source, int32_t radius)
        : source_(source), radius_(radius), sums_(3 * static_cast<size_t>(source.width())) {
        for (int32_t y = 0; y <= std::min(radius, source.height - 1); ++y)
            add(y, 1);
    }
    // Moves the window from row y - 1 to row y.
    void advanceTo(int32_t y) {
        if (y + radius_ < source_.height)
            add(y + radius_, 1);
        if (y - radius_ - 1 >= 0)
            add(y - radius_ - 1, -1);
    }
    int32_t rowsIn(int32_t y) const {
        return std::min(y + radius_, source_.height - 1) - std::max(y - radius_, 0) + 1;
    }
    const int32_t* data() const { return sums_.data(); }

private:
    void add(int32_t y, int32_t sign) {
        const uint8_t* p = source_.row(y);
        const size_t n = sums_.size();
        int32_t* s = sums_.data();
        for (size_t i = 0; i < n; ++i)
            s[i] += sign * p[i];
    }

    CDibImage source_;
    int32_t radius_;
    std::vector<int32_t> sums_;
};

} // namespace

bool FilterAverage(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                   int windowSize) {
    if (!NeighbourhoodOperands(destination, source, mask) || windowSize < 1)
        return false;
    const int32_t width = destination.width();
    const int32_t height = destination.height;
    if (width == 0 || height == 0)
        return true;
    const int32_t side =
        std::min(windowSize % 2 == 0 ? windowSize + 1 : windowSize, kLargestWindow);
    const int32_t radius = side / 2;
    const RegionOfInterest region(mask);
    const CountDivider divider(side * side);
    ColumnSums columns(source, radius);
    // prefix[3 (x + 1) + c] = sum of the column sums of pixels 0..x, channel c.
    std::vector<int32_t> prefix(3 * (static_cast<size_t>(width) + 1), 0);
    for (int32_t y = 0; y < height; ++y) {
        if (y > 0)
            columns.advanceTo(y);
        const int32_t* sums = columns.data();
        for (int32_t i = 0; i < 3 * width; ++i)
            prefix[i + 3] = prefix[i] + sums[i];
        const int32_t rows = columns.rowsIn(y);
        const uint8_t* selection = region.maskRow(y);
        uint8_t* out = destination.row(y);
        for (int32_t x = 0; x < width; ++x, out += 3) {
            if (!RegionOfInterest::Selected(selection, x))
                continue;
            const int32_t first = std::max(x - radius, 0);
            const int32_t last = std::min(x + radius, width - 1);
            const int32_t count = rows * (last - first + 1);
            const int32_t* high = prefix.data() + 3 * (last + 1);
            const int32_t* low = prefix.data() + 3 * first;
            out[0] = divider.divide(high[0] - low[0], count);
            out[1] = divider.divide(high[1] - low[1], count);
            out[2] = divider.divide(high[2] - low[2], count);
        }
    }
    return true;
}

} // namespace halvera
