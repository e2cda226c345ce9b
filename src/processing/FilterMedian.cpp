#include "processing/FilterMedian.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceRows.h"
#include "processing/MedianRows.h"
#include "processing/Neighbourhood3x3.h"
#include "processing/OperandCheck.h"

#include <algorithm>
#include <array>
#include <vector>

namespace halvera {

namespace {

// The grey levels of three source rows at a time. Row r lives in slot r mod 3:
// when row y - 1 is computed, row y + 2 in its slot is no longer needed.
class LevelRows {
public:
    LevelRows(const CDibImage& source, int32_t width)
        : source_(source), width_(width), levels_(3 * static_cast<size_t>(width)) {}

    void compute(int32_t y) {
        LuminanceRow(source_.row(y), levels_.data() + (y % 3) * width_, width_);
    }
    const uint8_t* row(int32_t y) const { return levels_.data() + (y % 3) * width_; }

private:
    CDibImage source_;
    int32_t width_;
    std::vector<uint8_t> levels_;
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
    std::vector<uint8_t> computed(region.exists() ? 3 * static_cast<size_t>(width) : 0);
    // Bottom row first: the rows then follow one another upwards in memory,
    // the order in which the processor fetches ahead best.
    levels.compute(height - 1);
    if (height > 1)
        levels.compute(height - 2);
    for (int32_t y = height - 1; y >= 0; --y) {
        if (y >= 1 && y + 1 < height)
            levels.compute(y - 1);
        const int32_t north = std::max(y - 1, 0), south = std::min(y + 1, height - 1);
        const uint8_t* ln = levels.row(north);
        const uint8_t* lc = levels.row(y);
        const uint8_t* ls = levels.row(south);
        const uint8_t* selection = region.maskRow(y);
        uint8_t* out = selection == nullptr ? destination.row(y) : computed.data();
        MedianRow(ln, lc, ls, source.row(north), source.row(y), source.row(south), width, out);
        if (selection != nullptr)
            CopySelectedPixels(destination.row(y), computed.data(), selection, width);
    }
    return true;
}

} // namespace halvera
