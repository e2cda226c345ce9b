#include "processing/FilterMedian.h"

#include "processing/LuminanceTables.h"
#include "processing/OperandCheck.h"
#include "view/RegionOfInterest.h"

#include <algorithm>
#include <array>
#include <vector>

namespace halvera {

namespace {

// A sorting network for nine values: 25 compare-exchanges, no branches.
constexpr std::array<std::array<int, 2>, 25> kSortNine{
    {{0, 3}, {1, 7}, {2, 5}, {4, 8}, {0, 7}, {2, 4}, {3, 8}, {5, 6}, {0, 2},
     {1, 3}, {4, 5}, {7, 8}, {1, 4}, {3, 6}, {5, 7}, {0, 1}, {2, 4}, {3, 5},
     {6, 8}, {2, 3}, {4, 5}, {6, 7}, {1, 2}, {3, 4}, {5, 6}}};

constexpr int kChosenRank = 5;

int32_t SixthSmallest(std::array<int32_t, 9> values) {
    for (const auto& [i, j] : kSortNine) {
        const int32_t low = std::min(values[i], values[j]);
        values[j] = std::max(values[i], values[j]);
        values[i] = low;
    }
    return values[kChosenRank];
}

// The grey levels of three source rows at a time. Row r lives in slot r mod 3:
// when row y + 1 is computed, row y - 2 in its slot is no longer needed.
class LevelRows {
public:
    LevelRows(const CDibImage& source, int32_t width)
        : source_(source), width_(width), levels_(3 * static_cast<size_t>(width)) {}

    void compute(int32_t y) {
        const uint8_t* p = source_.row(y);
        int32_t* out = slot(y);
        for (int32_t x = 0; x < width_; ++x, p += 3)
            out[x] = luminance_(p);
    }
    const int32_t* row(int32_t y) const { return levels_.data() + (y % 3) * width_; }

private:
    int32_t* slot(int32_t y) { return levels_.data() + (y % 3) * width_; }

    CDibImage source_;
    int32_t width_;
    std::vector<int32_t> levels_;
    LuminanceTables luminance_;
};

} // namespace

bool FilterMedian(const CDibImage& destination, const CDibImage& source, const CDibImage& mask) {
    if (!NeighbourhoodOperands(destination, source, mask))
        return false;
    const int32_t width = destination.width();
    const int32_t height = destination.height;
    if (width == 0 || height == 0)
        return true;
    const RegionOfInterest region(mask);
    LevelRows levels(source, width);
    levels.compute(0);
    if (height > 1)
        levels.compute(1);
    for (int32_t y = 0; y < height; ++y) {
        if (y >= 1 && y + 1 < height)
            levels.compute(y + 1);
        const int32_t yn = std::max(y - 1, 0), ys = std::min(y + 1, height - 1);
        const int32_t* ln = levels.row(yn);
        const int32_t* lc = levels.row(y);
        const int32_t* ls = levels.row(ys);
        const uint8_t* pn = source.row(yn);
        const uint8_t* pc = source.row(y);
        const uint8_t* ps = source.row(ys);
        const uint8_t* selection = region.maskRow(y);
        uint8_t* out = destination.row(y);
        for (int32_t x = 0; x < width; ++x) {
            if (!RegionOfInterest::Selected(selection, x))
                continue;
            const int32_t xw = std::max(x - 1, 0), xe = std::min(x + 1, width - 1);
            const std::array<int32_t, 9> level{ln[xw], lc[xw], ls[xw], ln[x], lc[x],
                                               ls[x],  ln[xe], lc[xe], ls[xe]};
            const std::array<const uint8_t*, 9> pixel{pn + 3 * xw, pc + 3 * xw, ps + 3 * xw,
                                                      pn + 3 * x,  pc + 3 * x,  ps + 3 * x,
                                                      pn + 3 * xe, pc + 3 * xe, ps + 3 * xe};
            const int32_t chosen = SixthSmallest(level);
            int k = 0;
            while (level[k] != chosen)
                ++k;
            uint8_t* o = out + 3 * x;
            o[0] = pixel[k][0];
            o[1] = pixel[k][1];
            o[2] = pixel[k][2];
        }
    }
    return true;
}

} // namespace halvera
