#include "processing/FilterAverage.h"

#include "image/RegionOfInterest.h"
#include "image/WorkerRowBands.h"
#include "processing/BoxMeanRows.h"
#include "processing/Neighbourhood3x3.h"
#include "processing/OperandCheck.h"

#include <algorithm>
#include <vector>

namespace halvera {

namespace {

constexpr int kLargestWindow = 15;
// Rows a pixel worker takes at a time. Starting the column sums costs up to
// 15 row additions; a chunk's rows cost two row additions and an average each.
constexpr int32_t kChunkRows = 256;

// Per channel byte the sum over the window's rows (those inside the image),
// started at a chunk's first row and kept up to date as the window moves down
// one row. The sums live in the worker's slot of a buffer allocated beforehand.
class ColumnSums {
public:
    ColumnSums(const CDibImage& source, int32_t radius, int32_t firstRow, int32_t* sums)
        : source_(source), radius_(radius), count_(3 * static_cast<size_t>(source.width())),
          sums_(sums) {
        std::fill(sums_, sums_ + count_, 0);
        const int32_t last = std::min(firstRow + radius, source.height - 1);
        for (int32_t y = std::max(firstRow - radius, 0); y <= last; ++y)
            add(y, 1);
    }
    // Moves the window from row y - 1 to row y.
    void advanceTo(int32_t y) {
        if (y + radius_ < source_.height)
            add(y + radius_, 1);
        if (y - radius_ - 1 >= 0)
            add(y - radius_ - 1, -1);
    }
    int32_t rowsIn(int32_t y) const {
        return std::min(y + radius_, source_.height - 1) - std::max(y - radius_, 0) + 1;
    }
    const int32_t* data() const { return sums_; }

private:
    void add(int32_t y, int32_t sign) { AccumulateRow(sums_, source_.row(y), count_, sign > 0); }

    CDibImage source_;
    int32_t radius_;
    size_t count_;
    int32_t* sums_;
};

// Averages one row from its column sums. A window sum is below 2^16 and a
// count at most 225, so (sum + 0.5) times the float reciprocal of the count,
// truncated, is exactly sum / count rounded down (checked for every sum and
// count): a multiplication the compiler vectorises instead of a division.
class RowAverager {
public:
    RowAverager(int32_t width, int32_t radius)
        : width_(width), radius_(radius), reciprocals_((2 * radius + 1) * (2 * radius + 1) + 1) {
        for (size_t count = 1; count < reciprocals_.size(); ++count)
            reciprocals_[count] = 1.0f / static_cast<float>(count);
    }

    void average(const int32_t* columns, int32_t rows, uint8_t* out) const {
        const int32_t leftEnd = std::min(radius_, width_);
        const int32_t rightBegin = std::max(width_ - radius_, leftEnd);
        for (int32_t x = 0; x < leftEnd; ++x)
            averageBorderPixel(columns, rows, x, out);
        if (leftEnd < rightBegin)
            averageInterior(columns, rows, out);
        for (int32_t x = rightBegin; x < width_; ++x)
            averageBorderPixel(columns, rows, x, out);
    }

private:
    static uint8_t Divide(int32_t sum, float reciprocal) {
        return static_cast<uint8_t>(
            static_cast<int32_t>((static_cast<float>(sum) + 0.5f) * reciprocal));
    }

    // A pixel whose window is cut by the left or right edge.
    void averageBorderPixel(const int32_t* columns, int32_t rows, int32_t x, uint8_t* out) const {
        const int32_t first = std::max(x - radius_, 0), last = std::min(x + radius_, width_ - 1);
        const float reciprocal = reciprocals_[rows * (last - first + 1)];
        for (int32_t c = 0; c < 3; ++c) {
            int32_t sum = 0;
            for (int32_t u = first; u <= last; ++u)
                sum += columns[3 * u + c];
            out[3 * x + c] = Divide(sum, reciprocal);
        }
    }

    // Pixels radius .. width - radius - 1, whose windows are whole across:
    // constant offsets and count, one vector kernel.
    void averageInterior(const int32_t* columns, int32_t rows, uint8_t* out) const {
        BoxMeanAcross(columns, out, 3 * radius_, 3 * (width_ - radius_), radius_,
                      reciprocals_[rows * (2 * radius_ + 1)]);
    }

    int32_t width_;
    int32_t radius_;
    std::vector<float> reciprocals_;
};

} // namespace

bool FilterAverage(const CDibImage& destination, const CDibImage& source, const CDibImage& mask,
                   int windowSize) {
    if (!NeighbourhoodOperands(destination, source, mask) || windowSize < 1)
        return false;
    const int32_t width = destination.width();
    const int32_t height = destination.height;
    if (width == 0 || height == 0)
        return true;
    const int32_t side =
        std::min(windowSize % 2 == 0 ? windowSize + 1 : windowSize, kLargestWindow);
    const int32_t radius = side / 2;
    const RegionOfInterest region(mask);
    const RowAverager averager(width, radius);
    // The rows are shared among the pixel workers in chunks: a chunk starts
    // its own column sums at its first row, so the sums (exact integers) and
    // the result do not depend on the split.
    const SharedRowChunks chunks(height, kChunkRows);
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    SlotRows<int32_t> sums(chunks.slots(), rowBytes);
    SlotRows<uint8_t> computed(region.exists() ? chunks.slots() : 0, rowBytes);
    chunks.run([&](int64_t slot, RowSpan rows) {
        ColumnSums columns(source, radius, rows.first, sums.slot(slot));
        uint8_t* scratch = computed.slot(slot);
        for (int32_t y = rows.first; y < rows.end; ++y) {
            if (y > rows.first)
                columns.advanceTo(y);
            const uint8_t* selection = region.maskRow(y);
            if (selection == nullptr) {
                averager.average(columns.data(), columns.rowsIn(y), destination.row(y));
            } else {
                averager.average(columns.data(), columns.rowsIn(y), scratch);
                CopySelectedPixels(destination.row(y), scratch, selection, width);
            }
        }
    });
    return true;
}

} // namespace halvera
