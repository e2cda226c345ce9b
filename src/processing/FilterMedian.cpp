#include "processing/FilterMedian.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceRows.h"
#include "processing/MedianRows.h"
#include "processing/OperandCheck.h"

#include <algorithm>
#include <array>
#include <vector>

namespace halvera {

namespace {

// The nine neighbours in column order NW, W, SW, N, C, S, NE, E, SE: the row
// (0 north, 1 centre, 2 south) and column (0 west, 1 centre, 2 east) of each.
constexpr std::array<uint8_t, 9> kRowOf{0, 1, 2, 0, 1, 2, 0, 1, 2};
constexpr std::array<uint8_t, 9> kColumnOf{0, 0, 0, 1, 1, 1, 2, 2, 2};

// The grey levels of three source rows at a time. Row r lives in slot r mod 3:
// when row y + 1 is computed, row y - 2 in its slot is no longer needed.
class LevelRows {
public:
    LevelRows(const CDibImage& source, int32_t width)
        : source_(source), width_(width), levels_(3 * static_cast<size_t>(width)) {}

    void compute(int32_t y) {
        LuminanceRow(source_.row(y), levels_.data() + (y % 3) * width_, width_);
    }
    const int16_t* row(int32_t y) const { return levels_.data() + (y % 3) * width_; }

private:
    CDibImage source_;
    int32_t width_;
    std::vector<int16_t> levels_;
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
    std::vector<uint8_t> positions(static_cast<size_t>(width));
    levels.compute(0);
    if (height > 1)
        levels.compute(1);
    for (int32_t y = 0; y < height; ++y) {
        if (y >= 1 && y + 1 < height)
            levels.compute(y + 1);
        const int32_t north = std::max(y - 1, 0), south = std::min(y + 1, height - 1);
        const int16_t* ln = levels.row(north);
        const int16_t* lc = levels.row(y);
        const int16_t* ls = levels.row(south);
        MedianPositions(ln, lc, ls, width, positions.data());
        const uint8_t* position = positions.data();

        const std::array<const uint8_t*, 3> rows{source.row(north), source.row(y),
                                                 source.row(south)};
        const uint8_t* selection = region.maskRow(y);
        uint8_t* out = destination.row(y);
        for (int32_t x = 0; x < width; ++x, out += 3) {
            if (!RegionOfInterest::Selected(selection, x))
                continue;
            const std::array<int32_t, 3> columns{std::max(x - 1, 0), x, std::min(x + 1, width - 1)};
            const uint8_t p = position[x];
            const uint8_t* chosen = rows[kRowOf[p]] + 3 * columns[kColumnOf[p]];
            out[0] = chosen[0];
            out[1] = chosen[1];
            out[2] = chosen[2];
        }
    }
    return true;
}

} // namespace halvera
