#include "view/BuildOutlineMap.h"

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace halvera {

namespace {

constexpr uint8_t kSelected = 255;
constexpr int32_t kOutside = -1;

// Mask index sampled by map index k: trunc(origin + k / zoom), or kOutside.
std::vector<int32_t> SampleIndices(int32_t count, int32_t origin, double zoom, int32_t limit) {
    std::vector<int32_t> indices(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        const double v = std::trunc(origin + k / zoom);
        indices[static_cast<size_t>(k)] = v >= 0 && v < limit ? static_cast<int32_t>(v) : kOutside;
    }
    return indices;
}

// Three sampled rows rolled down the map: above, current and below.
class SampledRows {
public:
    SampledRows(const CDibImage& mask, const OutlineViewport& viewport)
        : mask_(mask), width_(static_cast<size_t>(viewport.width)),
          columns_(SampleIndices(viewport.width, viewport.sourceX, viewport.zoom, mask.width())),
          rows_(SampleIndices(viewport.height, viewport.sourceY, viewport.zoom, mask.height)),
          storage_(3 * width_) {
        for (int k = 0; k < 3; ++k)
            slot_[k] = storage_.data() + k * width_;
        // At 100 % inside the mask a sampled row is a plain slice of a mask row.
        contiguous_ = columns_.front() != kOutside;
        for (size_t j = 1; j < width_ && contiguous_; ++j)
            contiguous_ = columns_[j] == columns_[0] + static_cast<int32_t>(j);
    }

    const uint8_t* above() const { return slot_[0]; }
    const uint8_t* current() const { return slot_[1]; }
    const uint8_t* below() const { return slot_[2]; }

    // Makes map row i current; call with i = 0, 1, 2, ... in turn.
    void moveTo(int32_t i) {
        if (i == 0) {
            sample(slot_[1], 0);
            source_[1] = rows_[0];
        } else {
            std::swap(slot_[0], slot_[1]);
            std::swap(slot_[1], slot_[2]);
            source_[0] = source_[1];
            source_[1] = source_[2];
        }
        if (static_cast<size_t>(i) + 1 < rows_.size()) {
            const int32_t next = rows_[static_cast<size_t>(i) + 1];
            // Zoomed in, consecutive map rows show the same mask row.
            if (next == source_[1])
                std::memcpy(slot_[2], slot_[1], width_);
            else
                sample(slot_[2], i + 1);
            source_[2] = next;
        }
    }

private:
    void sample(uint8_t* out, int32_t i) const {
        const int32_t y = rows_[static_cast<size_t>(i)];
        if (y == kOutside) {
            std::memset(out, 0, width_);
            return;
        }
        const uint8_t* row = mask_.row(y);
        if (contiguous_) {
            std::memcpy(out, row + columns_[0], width_);
            return;
        }
        for (size_t j = 0; j < width_; ++j)
            out[j] = columns_[j] == kOutside ? 0 : row[columns_[j]];
    }

    CDibImage mask_;
    size_t width_;
    std::vector<int32_t> columns_;
    std::vector<int32_t> rows_;
    std::vector<uint8_t> storage_;
    bool contiguous_ = false;
    uint8_t* slot_[3] = {};
    int32_t source_[3] = {kOutside, kOutside, kOutside};
};

// A selected sample on a map edge is outline exactly when that edge of the
// image is visible, i.e. the map is smaller than the client on that axis.
void MarkEdgeRow(uint8_t* out, const uint8_t* sampled, size_t width, bool edgeVisible) {
    for (size_t j = 0; j < width; ++j)
        out[j] = edgeVisible && sampled[j] == kSelected ? kSelected : 0;
}

void MarkInnerRow(uint8_t* out, const uint8_t* above, const uint8_t* row, const uint8_t* below,
                  size_t width, bool sidesVisible) {
    const auto edge = [&](size_t j) {
        return sidesVisible && row[j] == kSelected ? kSelected : uint8_t{0};
    };
    out[0] = edge(0);
    for (size_t j = 1; j + 1 < width; ++j) {
        const bool touchesClear =
            row[j - 1] == 0 || row[j + 1] == 0 || above[j] == 0 || below[j] == 0;
        out[j] = row[j] == kSelected && touchesClear ? kSelected : 0;
    }
    if (width > 1)
        out[width - 1] = edge(width - 1);
}

bool PrepareMap(DibBlock& outline, int32_t width, int32_t height) {
    if (!outline.empty() && outline.width() == width && outline.height() == height &&
        outline.dib().bitCount() == 8)
        return true;
    return CreateGrey(outline, width, height);
}

} // namespace

bool BuildOutlineMap(DibBlock& outline, const CDibImage& mask, const OutlineViewport& viewport) {
    const bool usable = viewport.width > 0 && viewport.height > 0 && std::isfinite(viewport.zoom) &&
                        viewport.zoom > 0 && !mask.empty();
    if (!usable || !PrepareMap(outline, viewport.width, viewport.height)) {
        outline.release();
        return false;
    }
    try {
        SampledRows rows(mask, viewport);
        const CDibImage map = outline.dib();
        const auto width = static_cast<size_t>(viewport.width);
        const bool topBottomVisible = viewport.height < viewport.clientHeight;
        const bool sidesVisible = viewport.width < viewport.clientWidth;
        for (int32_t i = 0; i < viewport.height; ++i) {
            rows.moveTo(i);
            if (i == 0 || i == viewport.height - 1)
                MarkEdgeRow(map.row(i), rows.current(), width, topBottomVisible);
            else
                MarkInnerRow(map.row(i), rows.above(), rows.current(), rows.below(), width,
                             sidesVisible);
        }
    } catch (const std::bad_alloc&) {
        outline.release();
        return false;
    }
    return true;
}

} // namespace halvera
