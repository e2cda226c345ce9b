#include "view/FloodFillColor.h"

#include <algorithm>
#include <new>
#include <vector>

namespace halvera {

namespace {

struct ColourSpan {
    int32_t left;
    int32_t right;
    int32_t y;
};

constexpr size_t kInitialSpans = 1024;

class ColourSpanFiller {
public:
    ColourSpanFiller(const CDibImage& image, const RegionOfInterest& roi, const uint8_t* seed,
                     ColourRef fill, int tolerance)
        : image_(image), roi_(roi),
          width_(image.width()), fill_{BlueOf(fill), GreenOf(fill), RedOf(fill)} {
        for (int c = 0; c < 3; ++c) {
            low_[c] = static_cast<uint8_t>(std::max(0, seed[c] - tolerance));
            high_[c] = static_cast<uint8_t>(std::min(255, seed[c] + tolerance));
        }
    }

    bool fillable(const uint8_t* pixel, const uint8_t* maskRow, int32_t x) const {
        return pixel[0] >= low_[0] && pixel[0] <= high_[0] && pixel[1] >= low_[1] &&
               pixel[1] <= high_[1] && pixel[2] >= low_[2] && pixel[2] <= high_[2] &&
               !(pixel[0] == fill_[0] && pixel[1] == fill_[1] && pixel[2] == fill_[2]) &&
               RegionOfInterest::Selected(maskRow, x);
    }

    // Fills the run of fillable pixels through (x, y), which is fillable, and
    // remembers it for scanning.
    void fillFrom(int32_t x, int32_t y) {
        uint8_t* row = image_.row(y);
        const uint8_t* maskRow = roi_.maskRow(y);
        int32_t left = x;
        while (left > 0 && fillable(row + 3 * (left - 1), maskRow, left - 1))
            --left;
        int32_t right = x;
        while (right + 1 < width_ && fillable(row + 3 * (right + 1), maskRow, right + 1))
            ++right;
        uint8_t* p = row + 3 * static_cast<ptrdiff_t>(left);
        uint8_t* const stop = row + 3 * static_cast<ptrdiff_t>(right + 1);
        for (; p != stop; p += 3) {
            p[0] = fill_[0];
            p[1] = fill_[1];
            p[2] = fill_[2];
        }
        stack_.push_back({left, right, y});
    }

    void run() {
        stack_.reserve(kInitialSpans);
        while (!stack_.empty()) {
            const ColourSpan span = stack_.back();
            stack_.pop_back();
            scanRow(span, span.y - 1);
            scanRow(span, span.y + 1);
        }
    }

private:
    // Starts a new span at every fillable pixel of row y from one column
    // before the span to one after it, so diagonal neighbours join the piece.
    void scanRow(const ColourSpan& span, int32_t y) {
        if (y < 0 || y >= image_.height)
            return;
        const uint8_t* row = image_.row(y);
        const uint8_t* maskRow = roi_.maskRow(y);
        const int32_t last = std::min(span.right + 1, width_ - 1);
        for (int32_t x = std::max(span.left - 1, 0); x <= last; ++x) {
            if (!fillable(row + 3 * x, maskRow, x))
                continue;
            fillFrom(x, y);
            x = stack_.back().right + 1; // now of the fill colour
        }
    }

    CDibImage image_;
    const RegionOfInterest& roi_;
    int32_t width_;
    uint8_t fill_[3];
    uint8_t low_[3];
    uint8_t high_[3];
    std::vector<ColourSpan> stack_;
};

} // namespace

int FloodFillColor(const CDibImage& image, const RegionOfInterest& roi, PixelPoint seed,
                   ColourRef fill, int tolerance) {
    if (image.empty() || seed.x < 0 || seed.y < 0 || seed.x >= image.width() ||
        seed.y >= image.height)
        return 0;
    const uint8_t* seedPixel = image.row(seed.y) + 3 * static_cast<ptrdiff_t>(seed.x);
    const uint8_t seedColour[3] = {seedPixel[0], seedPixel[1], seedPixel[2]};
    ColourSpanFiller filler(image, roi, seedColour, fill, std::clamp(tolerance, 0, 255));
    if (!filler.fillable(seedColour, roi.maskRow(seed.y), seed.x))
        return 0;
    try {
        filler.fillFrom(seed.x, seed.y);
        filler.run();
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return 1;
}

} // namespace halvera
