#include "view/FloodFillMask.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace halvera {

namespace {

struct MaskSpan {
    int32_t left;
    int32_t right;
    int32_t y;
};

constexpr size_t kInitialSpans = 1024;

class SpanFiller {
public:
    SpanFiller(const CDibImage& mask, uint8_t oldValue, uint8_t newValue)
        : mask_(mask), width_(mask.width()), old_(oldValue), new_(newValue) {}

    // Fills the run of old bytes through (x, y) and remembers it for scanning.
    void fillFrom(int32_t x, int32_t y) {
        uint8_t* row = mask_.row(y);
        int32_t left = x;
        while (left > 0 && row[left - 1] == old_)
            --left;
        int32_t right = x;
        while (right + 1 < width_ && row[right + 1] == old_)
            ++right;
        std::memset(row + left, new_, static_cast<size_t>(right - left + 1));
        bounds_.left = std::min(bounds_.left, left);
        bounds_.right = std::max(bounds_.right, right);
        bounds_.top = std::min(bounds_.top, y);
        bounds_.bottom = std::max(bounds_.bottom, y);
        stack_.push_back({left, right, y});
    }

    void run() {
        stack_.reserve(kInitialSpans);
        while (!stack_.empty()) {
            const MaskSpan span = stack_.back();
            stack_.pop_back();
            scanRow(span, span.y - 1);
            scanRow(span, span.y + 1);
        }
    }

    const PixelRect& bounds() const { return bounds_; }

private:
    // Starts a new span at every old byte of row y from one column before
    // the span to one after it, so diagonal neighbours join the piece.
    void scanRow(const MaskSpan& span, int32_t y) {
        if (y < 0 || y >= mask_.height)
            return;
        const uint8_t* row = mask_.row(y);
        const int32_t last = std::min(span.right + 1, width_ - 1);
        for (int32_t x = std::max(span.left - 1, 0); x <= last; ++x) {
            if (row[x] != old_)
                continue;
            fillFrom(x, y);
            x = stack_.back().right + 1; // that byte is no longer old
        }
    }

    CDibImage mask_;
    int32_t width_;
    uint8_t old_;
    uint8_t new_;
    PixelRect bounds_{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    std::vector<MaskSpan> stack_;
};

} // namespace

int FloodFillMask(const CDibImage& mask, PixelPoint seed, uint8_t oldValue, uint8_t newValue,
                  PixelRect* filledBounds) {
    if (mask.empty() || oldValue == newValue || seed.x < 0 || seed.y < 0 ||
        seed.x >= mask.width() || seed.y >= mask.height || mask.row(seed.y)[seed.x] != oldValue)
        return 0;
    SpanFiller filler(mask, oldValue, newValue);
    int result = 1;
    try {
        filler.fillFrom(seed.x, seed.y);
        filler.run();
    } catch (const std::bad_alloc&) {
        result = -1;
    }
    if (filledBounds)
        *filledBounds = filler.bounds();
    return result;
}

} // namespace halvera
