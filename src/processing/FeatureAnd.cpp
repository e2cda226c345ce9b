// Feature And: keeps, as white, the white regions of A that a white pixel of B
// touches, and turns everything else in the converted area black.
//
// Regions are 4-connected white pixels of A' (all three channels 255) anywhere
// in A; the seeds are the overlap pixels where the shifted B is white (only
// selected ones when the region limits the operation). The converted area is
// the overlap columns in all rows of A, or, when the region limits the
// operation, the selected pixels of the overlap. Pixels outside it keep A's
// values. Filled pixels are tracked in a plane of their own, so no colour of A
// is mistaken for a filled pixel.

#include "image/RegionOfInterest.h"
#include "processing/ArithmeticOverlap.h"

#include <cstring>
#include <new>
#include <optional>
#include <vector>

namespace halvera::arithmetic {

namespace {

enum : uint8_t { kOther = 0, kWhite = 1, kFilled = 2 };

bool IsWhite(const uint8_t* pixel) {
    return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255;
}

// A' classified as white or other, rows top-down, one byte per pixel; the
// fill turns white bytes into filled ones.
class RegionPlane {
public:
    // Throws std::bad_alloc when the plane cannot be allocated.
    explicit RegionPlane(const CDibImage& working)
        : width_(working.width()), height_(working.height),
          cells_(static_cast<size_t>(width_) * height_) {
        stack_.reserve(3072);
        for (int32_t y = 0; y < height_; ++y) {
            const uint8_t* p = working.row(y);
            uint8_t* cell = row(y);
            for (int32_t x = 0; x < width_; ++x, p += 3)
                cell[x] = IsWhite(p) ? kWhite : kOther;
        }
    }

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    uint8_t* row(int32_t y) { return cells_.data() + static_cast<size_t>(y) * width_; }

    // Fills the white region holding (x, y), span by span. Each filled span is
    // pushed as (left, right, row); a popped span tries every column of the rows
    // above and below. When the stack cannot grow the fill from this seed
    // stops where it is. The stack is kept from seed to seed, so a fill
    // allocates only when it needs more room than any fill before it.
    void FillFrom(int32_t x, int32_t y) {
        stack_.clear();
        try {
            FillSpan(x, y);
            while (!stack_.empty()) {
                const int32_t spanRow = stack_.back();
                const int32_t right = stack_[stack_.size() - 2];
                const int32_t left = stack_[stack_.size() - 3];
                stack_.resize(stack_.size() - 3);
                for (const int32_t next : {spanRow - 1, spanRow + 1}) {
                    if (next < 0 || next >= height_)
                        continue;
                    const uint8_t* cell = row(next);
                    for (int32_t column = left; column <= right; ++column)
                        if (cell[column] == kWhite)
                            column = FillSpan(column, next);
                }
            }
        } catch (const std::bad_alloc&) {
            // What is filled stays filled; the next seed starts afresh.
        }
    }

private:
    // Fills the white span through (x, y), pushes it and returns its right end.
    int32_t FillSpan(int32_t x, int32_t y) {
        uint8_t* cell = row(y);
        int32_t left = x;
        while (left > 0 && cell[left - 1] == kWhite)
            --left;
        int32_t right = x;
        while (right + 1 < width_ && cell[right + 1] == kWhite)
            ++right;
        std::memset(cell + left, kFilled, static_cast<size_t>(right - left + 1));
        stack_.insert(stack_.end(), {left, right, y});
        return right;
    }

    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> cells_;
    std::vector<int32_t> stack_; // filled spans still to look around: left, right, row
};

} // namespace

bool RunFeatureAnd(const Overlap& overlap, const CDibImage* mask) {
    std::optional<RegionPlane> plane;
    try {
        plane.emplace(overlap.working);
    } catch (const std::bad_alloc&) {
        return false;
    }
    RegionPlane& regions = *plane;

    for (int32_t y = overlap.top; y < overlap.bottom; ++y) {
        const uint8_t* m = mask ? mask->row(y) : nullptr;
        for (int32_t x = overlap.left; x < overlap.right; ++x) {
            if (!RegionOfInterest::Selected(m, x))
                continue;
            if (regions.row(y)[x] == kWhite && IsWhite(overlap.inputPixel(x, y)))
                regions.FillFrom(x, y);
        }
    }

    const int32_t top = mask ? overlap.top : 0;
    const int32_t bottom = mask ? overlap.bottom : regions.height();
    for (int32_t y = top; y < bottom; ++y) {
        const uint8_t* cell = regions.row(y);
        const uint8_t* m = mask ? mask->row(y) : nullptr;
        uint8_t* out = overlap.image.row(y);
        for (int32_t x = overlap.left; x < overlap.right; ++x) {
            if (!RegionOfInterest::Selected(m, x))
                continue;
            const uint8_t value = cell[x] == kFilled ? 255 : 0;
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = value;
        }
    }
    return true;
}

} // namespace halvera::arithmetic
