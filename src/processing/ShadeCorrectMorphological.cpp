// The background is computed in one streaming pass with small rings of rows,
// so no look-up is repeated per element position:
//  - for each image row, running maxima of its luminance over every radius up
//    to the element's widest row, each radius from the previous one with two
//    comparisons per pixel ([x-r, x+r] = [x-r, x+r-2] u [x-r+2, x+r]);
//  - a background row is the maximum, over the element's rows, of the
//    neighbouring rows' maxima of that row's radius;
//  - the box mean sums columns of background rows, then slides along the row.
// Every step is the exact maximum or sum over the clipped window, so the
// result equals the direct evaluation.

#include "processing/ShadeCorrectMorphological.h"

#include "processing/LuminanceTables.h"
#include "processing/OperandCheck.h"
#include "processing/ShadeTables.h"

#include <algorithm>
#include <new>
#include <vector>

namespace halvera {

namespace {

bool ValidElement(std::span<const int> halfWidths) {
    const auto size = static_cast<int>(halfWidths.size());
    return size % 2 == 1 && size <= kMaxShadeElementSize &&
           std::all_of(halfWidths.begin(), halfWidths.end(),
                       [](int h) { return h >= 0 && h <= kMaxShadeElementSize / 2; });
}

// The hot row loops are free functions over plain pointers, so that no
// member can alias the bytes written and the loops stay tight.

// Running maxima of one row: level r holds at x the maximum of `source` over
// [x - r, x + r] clipped to the row; levels 0..maxRadius lie one after the other.
void RowMaxima(const uint8_t* source, int32_t width, int maxRadius, uint8_t* levels) {
    std::copy(source, source + width, levels);
    for (int r = 1; r <= maxRadius; ++r) {
        const uint8_t* previous = levels + static_cast<size_t>(r - 1) * width;
        uint8_t* current = levels + static_cast<size_t>(r) * width;
        if (width == 1) {
            current[0] = previous[0];
            continue;
        }
        // Level 1 needs the centre too; from level 2 on the two halves cover it.
        if (r == 1) {
            for (int32_t x = 1; x + 1 < width; ++x)
                current[x] = std::max(std::max(previous[x - 1], previous[x]), previous[x + 1]);
        } else {
            for (int32_t x = 1; x + 1 < width; ++x)
                current[x] = std::max(previous[x - 1], previous[x + 1]);
        }
        current[0] = std::max(previous[0], previous[1]);
        current[width - 1] = std::max(previous[width - 2], previous[width - 1]);
    }
}

void MaxInto(uint8_t* out, const uint8_t* in, int32_t count) {
    for (int32_t x = 0; x < count; ++x)
        out[x] = std::max(out[x], in[x]);
}

void AddInto(uint16_t* sums, const uint8_t* in, int32_t count) {
    for (int32_t x = 0; x < count; ++x)
        sums[x] = static_cast<uint16_t>(sums[x] + in[x]);
}

// out[x] = the mean of `columnSums` over [x - radius, x + radius] clipped,
// each column sum holding `rows` rows: the window sum slides along the row.
void SlidingMeans(const uint16_t* columnSums, int32_t width, int radius, int32_t rows,
                  const ExactDivisor* divisors, uint8_t* out) {
    uint32_t sum = 0;
    for (int32_t x = 0; x < std::min(width, radius); ++x)
        sum += columnSums[x];
    for (int32_t x = 0; x < width; ++x) {
        if (x + radius < width)
            sum += columnSums[x + radius];
        if (x - radius - 1 >= 0)
            sum -= columnSums[x - radius - 1];
        const int32_t columns = std::min(width - 1, x + radius) - std::max(0, x - radius) + 1;
        out[x] = static_cast<uint8_t>(divisors[rows * columns - 1].divide(sum));
    }
}

void DivideByBackground(uint8_t* pixel, const uint8_t* background, int32_t width,
                        const QuotientTable& table) {
    for (int32_t x = 0; x < width; ++x, pixel += 3) {
        const uint8_t* quotient = table.quotients(background[x]);
        pixel[0] = quotient[pixel[0]];
        pixel[1] = quotient[pixel[1]];
        pixel[2] = quotient[pixel[2]];
    }
}

class MorphologicalShade {
public:
    MorphologicalShade(const CDibImage& image, std::span<const int> halfWidths, int smoothing)
        : image_(image), width_(image.width()), height_(image.height), halfWidths_(halfWidths),
          elementCentre_(static_cast<int>(halfWidths.size()) / 2),
          maxRadius_(*std::max_element(halfWidths.begin(), halfWidths.end())),
          smoothing_(smoothing), smoothingRadius_(smoothing / 2), quotients_(255),
          luminance_(static_cast<size_t>(width_)),
          levelRing_(halfWidths.size() * (maxRadius_ + 1) * static_cast<size_t>(width_)),
          backgroundRing_(static_cast<size_t>(smoothing) * width_),
          columnSums_(static_cast<size_t>(width_)), smoothed_(static_cast<size_t>(width_)) {
        for (int count = 1; count <= smoothing * smoothing; ++count)
            countDivisors_.emplace_back(static_cast<uint32_t>(count));
    }

    void Run() {
        for (int32_t y = 0; y < height_; ++y) {
            const int32_t lastBackground = std::min(height_ - 1, y + smoothingRadius_);
            while (nextBackground_ <= lastBackground)
                ComputeBackgroundRow(nextBackground_++);
            SmoothRow(y);
            DivideRow(y);
        }
    }

private:
    uint8_t* Levels(int32_t y) {
        const size_t slot = static_cast<size_t>(y) % halfWidths_.size();
        return levelRing_.data() + slot * (maxRadius_ + 1) * width_;
    }
    uint8_t* Background(int32_t y) {
        return backgroundRing_.data() + static_cast<size_t>(y % smoothing_) * width_;
    }

    void ComputeLevels(int32_t y) {
        const uint8_t* pixel = image_.row(y);
        uint8_t* luminance = luminance_.data();
        for (int32_t x = 0; x < width_; ++x, pixel += 3)
            luminance[x] = static_cast<uint8_t>(luminanceOf_(pixel));
        RowMaxima(luminance_.data(), width_, maxRadius_, Levels(y));
    }

    void ComputeBackgroundRow(int32_t y) {
        const int32_t lastLevels = std::min(height_ - 1, y + elementCentre_);
        while (nextLevels_ <= lastLevels)
            ComputeLevels(nextLevels_++);
        uint8_t* out = Background(y);
        std::fill(out, out + width_, uint8_t{0});
        for (size_t r = 0; r < halfWidths_.size(); ++r) {
            const int32_t source = y + static_cast<int32_t>(r) - elementCentre_;
            if (source < 0 || source >= height_)
                continue;
            MaxInto(out, Levels(source) + static_cast<size_t>(halfWidths_[r]) * width_, width_);
        }
    }

    void SmoothRow(int32_t y) {
        const int32_t first = std::max(0, y - smoothingRadius_);
        const int32_t last = std::min(height_ - 1, y + smoothingRadius_);
        std::fill(columnSums_.begin(), columnSums_.end(), uint16_t{0});
        for (int32_t row = first; row <= last; ++row)
            AddInto(columnSums_.data(), Background(row), width_);
        SlidingMeans(columnSums_.data(), width_, smoothingRadius_, last - first + 1,
                     countDivisors_.data(), smoothed_.data());
    }

    void DivideRow(int32_t y) {
        DivideByBackground(image_.row(y), smoothed_.data(), width_, quotients_);
    }

    CDibImage image_;
    int32_t width_;
    int32_t height_;
    std::span<const int> halfWidths_;
    int elementCentre_;
    int maxRadius_;
    int smoothing_;
    int smoothingRadius_;
    LuminanceTables luminanceOf_;
    QuotientTable quotients_;
    std::vector<uint8_t> luminance_;
    std::vector<uint8_t> levelRing_;      // one slot of levels per element row
    std::vector<uint8_t> backgroundRing_; // one background row per smoothing row
    std::vector<uint16_t> columnSums_;
    std::vector<uint8_t> smoothed_;
    std::vector<ExactDivisor> countDivisors_; // entry k divides by k + 1
    int32_t nextLevels_ = 0;
    int32_t nextBackground_ = 0;
};

} // namespace

bool ShadeCorrectMorphological(const CDibImage& image, std::span<const int> elementHalfWidths,
                               int smoothing) {
    if (!IsRgbImage(image) || !ValidElement(elementHalfWidths) || smoothing < 1 ||
        smoothing > kMaxShadeElementSize || smoothing % 2 == 0)
        return false;
    if (image.width() == 0 || image.height == 0)
        return true;
    try {
        MorphologicalShade(image, elementHalfWidths, smoothing).Run();
    } catch (const std::bad_alloc&) {
        return false; // thrown while the work rows are allocated, before any pixel changes
    }
    return true;
}

} // namespace halvera
