// The background is computed in one streaming pass with small rings of rows,
// so no look-up is repeated per element position:
//  - for each image row, running maxima of its luminance over every radius up
//    to the element's widest row, each radius from the previous one with two
//    comparisons per pixel ([x-r, x+r] = [x-r, x+r-2] u [x-r+2, x+r]);
//  - a background row is the maximum, over the element's rows, of the
//    neighbouring rows' maxima of that row's radius;
//  - the box mean sums columns of background rows, then slides along the row.
// Every step is the exact maximum or sum over the clipped window, so the
// result equals the direct evaluation. The rows are shared among the pixel
// workers, one band each, and every band streams down its rows on its own, so
// the split never changes the result.

#include "processing/ShadeCorrectMorphological.h"

#include "image/WorkerRowBands.h"
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

// What every band reads and none changes.
struct ShadeSetup {
    ShadeSetup(const CDibImage& image, std::span<const int> halfWidths, int smoothing)
        : image(image), width(image.width()), height(image.height), halfWidths(halfWidths),
          elementCentre(static_cast<int>(halfWidths.size()) / 2),
          maxRadius(*std::max_element(halfWidths.begin(), halfWidths.end())), smoothing(smoothing),
          smoothingRadius(smoothing / 2), quotients(255) {
        for (int count = 1; count <= smoothing * smoothing; ++count)
            countDivisors.emplace_back(static_cast<uint32_t>(count));
    }

    // How far a divided row's result reaches for luminance: the smoothing box,
    // then the element around each of its rows.
    int32_t reach() const { return elementCentre + smoothingRadius; }

    CDibImage image;
    int32_t width;
    int32_t height;
    std::span<const int> halfWidths;
    int elementCentre;
    int maxRadius;
    int smoothing;
    int smoothingRadius;
    LuminanceTables luminanceOf;
    QuotientTable quotients;
    std::vector<ExactDivisor> countDivisors; // entry k divides by k + 1
};

// The correction of one band of rows, streaming down them with its own rings.
// The image is changed in place and other bands divide their rows at the same
// time, so the luminance of the rows within reach above and below the band is
// taken first (Snapshot, while every band only reads) and used instead of
// those rows; the band's own rows are read before it divides them.
class BandShade {
public:
    BandShade(const ShadeSetup& setup, RowSpan rows)
        : s_(setup), rows_(rows), haloFirst_(std::max(0, rows.first - setup.reach())),
          haloEnd_(std::min(setup.height, rows.end + setup.reach())),
          halo_(static_cast<size_t>(rows.first - haloFirst_ + haloEnd_ - rows.end) * setup.width),
          luminance_(static_cast<size_t>(setup.width)),
          levelRing_(setup.halfWidths.size() * (setup.maxRadius + 1) *
                     static_cast<size_t>(setup.width)),
          backgroundRing_(static_cast<size_t>(setup.smoothing) * setup.width),
          columnSums_(static_cast<size_t>(setup.width)),
          smoothed_(static_cast<size_t>(setup.width)), nextLevels_(haloFirst_),
          nextBackground_(std::max(0, rows.first - setup.smoothingRadius)) {}

    void Snapshot() {
        for (int32_t y = haloFirst_; y < rows_.first; ++y)
            LuminanceOf(y, HaloRow(y));
        for (int32_t y = rows_.end; y < haloEnd_; ++y)
            LuminanceOf(y, HaloRow(y));
    }

    void Run() {
        for (int32_t y = rows_.first; y < rows_.end; ++y) {
            const int32_t lastBackground = std::min(s_.height - 1, y + s_.smoothingRadius);
            while (nextBackground_ <= lastBackground)
                ComputeBackgroundRow(nextBackground_++);
            SmoothRow(y);
            DivideRow(y);
        }
    }

private:
    uint8_t* HaloRow(int32_t y) {
        const int32_t index =
            y < rows_.first ? y - haloFirst_ : rows_.first - haloFirst_ + y - rows_.end;
        return halo_.data() + static_cast<size_t>(index) * s_.width;
    }
    uint8_t* Levels(int32_t y) {
        const size_t slot = static_cast<size_t>(y) % s_.halfWidths.size();
        return levelRing_.data() + slot * (s_.maxRadius + 1) * s_.width;
    }
    uint8_t* Background(int32_t y) {
        return backgroundRing_.data() + static_cast<size_t>(y % s_.smoothing) * s_.width;
    }

    void LuminanceOf(int32_t y, uint8_t* luminance) const {
        const uint8_t* pixel = s_.image.row(y);
        for (int32_t x = 0; x < s_.width; ++x, pixel += 3)
            luminance[x] = static_cast<uint8_t>(s_.luminanceOf(pixel));
    }

    void ComputeLevels(int32_t y) {
        const bool own = y >= rows_.first && y < rows_.end;
        if (own)
            LuminanceOf(y, luminance_.data());
        RowMaxima(own ? luminance_.data() : HaloRow(y), s_.width, s_.maxRadius, Levels(y));
    }

    void ComputeBackgroundRow(int32_t y) {
        const int32_t lastLevels = std::min(s_.height - 1, y + s_.elementCentre);
        while (nextLevels_ <= lastLevels)
            ComputeLevels(nextLevels_++);
        uint8_t* out = Background(y);
        std::fill(out, out + s_.width, uint8_t{0});
        for (size_t r = 0; r < s_.halfWidths.size(); ++r) {
            const int32_t source = y + static_cast<int32_t>(r) - s_.elementCentre;
            if (source < 0 || source >= s_.height)
                continue;
            MaxInto(out, Levels(source) + static_cast<size_t>(s_.halfWidths[r]) * s_.width,
                    s_.width);
        }
    }

    void SmoothRow(int32_t y) {
        const int32_t first = std::max(0, y - s_.smoothingRadius);
        const int32_t last = std::min(s_.height - 1, y + s_.smoothingRadius);
        std::fill(columnSums_.begin(), columnSums_.end(), uint16_t{0});
        for (int32_t row = first; row <= last; ++row)
            AddInto(columnSums_.data(), Background(row), s_.width);
        SlidingMeans(columnSums_.data(), s_.width, s_.smoothingRadius, last - first + 1,
                     s_.countDivisors.data(), smoothed_.data());
    }

    void DivideRow(int32_t y) {
        DivideByBackground(s_.image.row(y), smoothed_.data(), s_.width, s_.quotients);
    }

    const ShadeSetup& s_;
    RowSpan rows_;
    int32_t haloFirst_;
    int32_t haloEnd_;
    std::vector<uint8_t> halo_; // luminance of rows haloFirst_.. above and ..haloEnd_ below
    std::vector<uint8_t> luminance_;
    std::vector<uint8_t> levelRing_;      // one slot of levels per element row
    std::vector<uint8_t> backgroundRing_; // one background row per smoothing row
    std::vector<uint16_t> columnSums_;
    std::vector<uint8_t> smoothed_;
    int32_t nextLevels_;
    int32_t nextBackground_;
};

} // namespace

bool ShadeCorrectMorphological(const CDibImage& image, std::span<const int> elementHalfWidths,
                               int smoothing) {
    if (!IsRgbImage(image) || !ValidElement(elementHalfWidths) || smoothing < 1 ||
        smoothing > kMaxShadeElementSize || smoothing % 2 == 0)
        return false;
    if (image.width() == 0 || image.height == 0)
        return true;
    // One band per pixel worker; every band's work rows are allocated before
    // any pixel changes.
    const WorkerRowBands bands(image.height);
    try {
        const ShadeSetup setup(image, elementHalfWidths, smoothing);
        std::vector<BandShade> work;
        work.reserve(static_cast<size_t>(bands.count()));
        for (int64_t band = 0; band < bands.count(); ++band)
            work.emplace_back(setup, bands.span(band));
        bands.run([&work](int64_t band, RowSpan) { work[static_cast<size_t>(band)].Snapshot(); });
        bands.run([&work](int64_t band, RowSpan) { work[static_cast<size_t>(band)].Run(); });
    } catch (const std::bad_alloc&) {
        return false; // thrown while the work rows are allocated, before any pixel changes
    }
    return true;
}

} // namespace halvera
