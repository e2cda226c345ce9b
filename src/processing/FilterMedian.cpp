#include "processing/FilterMedian.h"

#include "image/RegionOfInterest.h"
#include "processing/LuminanceTables.h"
#include "processing/OperandCheck.h"

#include <algorithm>
#include <array>
#include <vector>

namespace halvera {

namespace {

// By value, so that the compiler turns them into vector min and max.
int16_t Min(int16_t a, int16_t b) {
    return a < b ? a : b;
}
int16_t Max(int16_t a, int16_t b) {
    return a > b ? a : b;
}
void Sort2(int16_t& a, int16_t& b) {
    const int16_t low = Min(a, b);
    b = Max(a, b);
    a = low;
}

// The sixth smallest of nine levels (position 5 of the sorted nine, counting
// from 0): the 21 compare-exchanges of a 25-comparator sorting network that
// lead to that position, halved where only one of their outputs is used.
int16_t SixthSmallest(int16_t v0, int16_t v1, int16_t v2, int16_t v3, int16_t v4, int16_t v5,
                      int16_t v6, int16_t v7, int16_t v8) {
    Sort2(v0, v3);
    Sort2(v1, v7);
    Sort2(v2, v5);
    Sort2(v4, v8);
    Sort2(v0, v7);
    Sort2(v2, v4);
    Sort2(v3, v8);
    Sort2(v5, v6);
    v2 = Max(v0, v2);
    Sort2(v1, v3);
    Sort2(v4, v5);
    Sort2(v7, v8);
    v4 = Max(v1, v4);
    Sort2(v3, v6);
    Sort2(v5, v7);
    v4 = Max(v2, v4);
    v5 = Max(v3, v5);
    v6 = Min(v6, v8);
    v5 = Max(v4, v5);
    v6 = Min(v6, v7);
    return Min(v5, v6);
}

// The nine neighbours in column order NW, W, SW, N, C, S, NE, E, SE: the row
// (0 north, 1 centre, 2 south) and column (0 west, 1 centre, 2 east) of each.
constexpr std::array<uint8_t, 9> kRowOf{0, 1, 2, 0, 1, 2, 0, 1, 2};
constexpr std::array<uint8_t, 9> kColumnOf{0, 0, 0, 1, 1, 1, 2, 2, 2};

// For pixels first..last-1 of a row, the position (in column order) of the
// first neighbour whose level is the sixth smallest of the nine. `west` and
// `east` are the level offsets of the side neighbours (-1/+1; 0 at an edge).
// Branch-free, so the interior of a row is vectorised.
void ChoosePositions(const int16_t* __restrict ln, const int16_t* __restrict lc,
                     const int16_t* __restrict ls, int32_t first, int32_t last, int32_t west,
                     int32_t east, uint8_t* __restrict position) {
    for (int32_t x = first; x < last; ++x) {
        const int16_t a0 = ln[x + west], a1 = lc[x + west], a2 = ls[x + west];
        const int16_t a3 = ln[x], a4 = lc[x], a5 = ls[x];
        const int16_t a6 = ln[x + east], a7 = lc[x + east], a8 = ls[x + east];
        const int16_t chosen = SixthSmallest(a0, a1, a2, a3, a4, a5, a6, a7, a8);
        // Scanning from the last down keeps the first match.
        uint8_t p = 8;
        p = a7 == chosen ? 7 : p;
        p = a6 == chosen ? 6 : p;
        p = a5 == chosen ? 5 : p;
        p = a4 == chosen ? 4 : p;
        p = a3 == chosen ? 3 : p;
        p = a2 == chosen ? 2 : p;
        p = a1 == chosen ? 1 : p;
        p = a0 == chosen ? 0 : p;
        position[x] = p;
    }
}

// The grey levels of three source rows at a time. Row r lives in slot r mod 3:
// when row y + 1 is computed, row y - 2 in its slot is no longer needed.
class LevelRows {
public:
    LevelRows(const CDibImage& source, int32_t width)
        : source_(source), width_(width), levels_(3 * static_cast<size_t>(width)) {}

    void compute(int32_t y) {
        const uint8_t* p = source_.row(y);
        int16_t* out = levels_.data() + (y % 3) * width_;
        for (int32_t x = 0; x < width_; ++x, p += 3)
            out[x] = static_cast<int16_t>(luminance_(p));
    }
    const int16_t* row(int32_t y) const { return levels_.data() + (y % 3) * width_; }

private:
    CDibImage source_;
    int32_t width_;
    std::vector<int16_t> levels_;
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
        uint8_t* position = positions.data();
        if (width == 1) {
            ChoosePositions(ln, lc, ls, 0, 1, 0, 0, position);
        } else {
            ChoosePositions(ln, lc, ls, 0, 1, 0, 1, position);
            ChoosePositions(ln, lc, ls, 1, width - 1, -1, 1, position);
            ChoosePositions(ln, lc, ls, width - 1, width, -1, 0, position);
        }

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
