#include "warping/WarpQuad.h"

#include "view/RegionOfInterest.h"
#include "warping/Bilinear.h"
#include "warping/ProjectiveMatrix.h"
#include "warping/WarpBuffers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace halvera {

namespace {

// A non-horizontal edge of the destination quadrilateral, upper end first.
struct Edge {
    double xTop;
    int64_t yTop;
    int64_t yBottom; // exclusive: the edge crosses rows yTop..yBottom-1
    double slope;    // change of x per row
};

struct EdgeList {
    std::array<Edge, 4> edges;
    int count = 0;
};

EdgeList NonHorizontalEdges(const QuadCorners& quad) {
    EdgeList list;
    for (int k = 0; k < 4; ++k) {
        PixelPoint upper = quad[k];
        PixelPoint lower = quad[(k + 1) % 4];
        if (upper.y == lower.y)
            continue;
        if (lower.y < upper.y)
            std::swap(upper, lower);
        list.edges[list.count++] = Edge{static_cast<double>(upper.x), upper.y, lower.y,
                                        static_cast<double>(int64_t{lower.x} - upper.x) /
                                            static_cast<double>(int64_t{lower.y} - upper.y)};
    }
    return list;
}

// Orders the (at most four) crossings of one row from left to right.
void SortCrossings(std::array<double, 4>& crossings, int count) {
    for (int i = 1; i < count; ++i)
        for (int k = i; k > 0 && crossings[k] < crossings[k - 1]; --k)
            std::swap(crossings[k], crossings[k - 1]);
}

constexpr int kTileSide = 64;

// The pixel spans of one destination row inside the quadrilateral: the
// crossings of the active edges, sorted and taken in pairs, each end rounded
// to the nearest pixel and clipped to columns 0..width-1.
struct RowSpans {
    int count = 0;
    std::array<int32_t, 2> first{};
    std::array<int32_t, 2> last{};
};

RowSpans SpansOfRow(const EdgeList& edges, int64_t y, int32_t width) {
    std::array<double, 4> crossings{};
    int count = 0;
    for (int k = 0; k < edges.count; ++k) {
        const Edge& edge = edges.edges[k];
        if (edge.yTop <= y && y < edge.yBottom)
            crossings[count++] = edge.xTop + static_cast<double>(y - edge.yTop) * edge.slope;
    }
    SortCrossings(crossings, count);
    RowSpans spans;
    for (int p = 0; p + 1 < count; p += 2) {
        const double left = std::floor(crossings[p] + 0.5);
        const double right = std::floor(crossings[p + 1] + 0.5);
        if (right < 0.0 || left > width - 1)
            continue;
        spans.first[spans.count] = static_cast<int32_t>(std::max(left, 0.0));
        spans.last[spans.count] = static_cast<int32_t>(std::min(right, width - 1.0));
        ++spans.count;
    }
    return spans;
}

// Everything one destination row needs to map and write its pixels.
class SpanWriter {
public:
    SpanWriter(const ProjectiveMatrix& matrix, const CDibImage& image, const RowTable& source,
               const RowTable& saved, const CDibImage& mask, bool region)
        : m_(matrix.m), image_(image), source_(source), saved_(saved), mask_(mask), region_(region),
          // After normalisation an affine mapping has w = 1 everywhere; dividing
          // by it changes nothing, so the division is skipped.
          affine_(m_[2][0] == 0.0 && m_[2][1] == 0.0 && m_[2][2] == 1.0) {}

    // Writes columns first..last (inclusive, inside the image) of row y.
    void Write(int32_t y, int32_t first, int32_t last) const {
        if (affine_)
            region_ ? WriteRow<true, true>(y, first, last) : WriteRow<true, false>(y, first, last);
        else
            region_ ? WriteRow<false, true>(y, first, last)
                    : WriteRow<false, false>(y, first, last);
    }

private:
    template <bool affine, bool region>
    void WriteRow(int32_t y, int32_t first, int32_t last) const {
        // Everything the loop reads is held in locals: the pixel stores go
        // through byte pointers, which may alias any member.
        const double m00 = m_[0][0], m10 = m_[1][0], m20 = m_[2][0];
        const double uRow = m_[0][1] * y + m_[0][2];
        const double vRow = m_[1][1] * y + m_[1][2];
        const double wRow = m_[2][1] * y + m_[2][2];
        const double uLimit = image_.width() - 1;
        const double vLimit = image_.height - 1;
        uint8_t* const target = image_.row(y);
        uint8_t* const maskRow = region ? mask_.row(y) : nullptr;
        uint8_t* const* const source = source_.rows();
        uint8_t* const* const saved = saved_.rows();
        for (int32_t x = first; x <= last; ++x) {
            double u = m00 * x + uRow;
            double v = m10 * x + vRow;
            if constexpr (!affine) {
                const double w = m20 * x + wRow;
                if (w == 0.0)
                    continue;
                u /= w;
                v /= w;
            }
            // Positions in (-1, 0) truncate to 0 too; they lie outside and
            // would interpolate with a negative fraction, so u and v are tested
            // themselves. The comparisons also reject NaN.
            if (!(u >= 0.0 && v >= 0.0 && u < uLimit && v < vLimit))
                continue;
            const auto i = static_cast<int32_t>(u);
            const auto j = static_cast<int32_t>(v);
            if constexpr (region) {
                const uint8_t selected = saved[j][i];
                maskRow[x] = selected;
                if (selected != 255)
                    continue;
            }
            const ptrdiff_t from = ptrdiff_t{3} * i;
            BilinearPixel(source[j] + from, source[j + 1] + from, u - i, v - j,
                          target + ptrdiff_t{3} * x);
        }
    }

    const std::array<std::array<double, 3>, 3>& m_;
    const CDibImage& image_;
    const RowTable& source_;
    const RowTable& saved_;
    const CDibImage& mask_;
    bool region_;
    bool affine_;
};

} // namespace

bool WarpQuad(const CDibImage& image, const CDibImage& working, const CDibImage& mask,
              const CDibImage& savedMask, const QuadCorners& source,
              const QuadCorners& destination) {
    const int32_t width = image.width();
    const int32_t height = image.height;
    if (!AreWarpImages(image, working) || !AreWarpMasks(mask, savedMask, width, height))
        return false;

    const EdgeList edges = NonHorizontalEdges(destination);
    const std::optional<ProjectiveMatrix> matrix = QuadToQuad(destination, source);
    if (edges.count < 2 || !matrix)
        return true;

    RowTable sourceRows;
    RowTable savedRows;
    if (!sourceRows.Build(working) || !savedRows.Build(savedMask))
        return false;
    const bool region = RegionOfInterest(savedMask).exists();
    if (region)
        std::memset(mask.bits, 0, static_cast<size_t>(mask.bitsSize));
    const SpanWriter writer(*matrix, image, sourceRows, savedRows, mask, region);

    int64_t top = destination[0].y;
    int64_t bottom = destination[0].y;
    for (const PixelPoint& corner : destination) {
        top = std::min<int64_t>(top, corner.y);
        bottom = std::max<int64_t>(bottom, corner.y);
    }
    const int64_t firstRow = std::max<int64_t>(top, 0);
    const int64_t lastRow = std::min<int64_t>(bottom, height - 2);
    // The destination is filled in tiles of kTileSide x kTileSide pixels: a
    // turned quadrilateral reads its source along slanted lines, and one tile's
    // source stays in the cache where a whole row's would not.
    for (int64_t blockTop = firstRow; blockTop <= lastRow; blockTop += kTileSide) {
        const auto rows =
            static_cast<int32_t>(std::min<int64_t>(kTileSide, lastRow - blockTop + 1));
        std::array<RowSpans, kTileSide> spans;
        int32_t blockLeft = width;
        int32_t blockRight = -1;
        for (int32_t r = 0; r < rows; ++r) {
            spans[r] = SpansOfRow(edges, blockTop + r, width);
            for (int p = 0; p < spans[r].count; ++p) {
                blockLeft = std::min(blockLeft, spans[r].first[p]);
                blockRight = std::max(blockRight, spans[r].last[p]);
            }
        }
        for (int32_t bandLeft = blockLeft; bandLeft <= blockRight; bandLeft += kTileSide) {
            const int32_t bandRight = bandLeft + kTileSide - 1;
            for (int32_t r = 0; r < rows; ++r)
                for (int p = 0; p < spans[r].count; ++p) {
                    const int32_t first = std::max(spans[r].first[p], bandLeft);
                    const int32_t last = std::min(spans[r].last[p], bandRight);
                    if (first <= last)
                        writer.Write(static_cast<int32_t>(blockTop + r), first, last);
                }
        }
    }
    return true;
}

} // namespace halvera
