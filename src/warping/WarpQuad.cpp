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

// Everything one destination row needs to map and write its pixels.
class SpanWriter {
public:
    SpanWriter(const ProjectiveMatrix& matrix, const CDibImage& image, const RowTable& source,
               const RowTable& saved, const CDibImage& mask, bool region)
        : m_(matrix.m), image_(image), source_(source), saved_(saved), mask_(mask), region_(region),
          uLimit_(image.width() - 1), vLimit_(image.height - 1) {}

    // Writes columns first..last (inclusive, inside the image) of row y.
    void Write(int32_t y, int32_t first, int32_t last) const {
        const double uRow = m_[0][1] * y + m_[0][2];
        const double vRow = m_[1][1] * y + m_[1][2];
        const double wRow = m_[2][1] * y + m_[2][2];
        uint8_t* const target = image_.row(y);
        uint8_t* const maskRow = region_ ? mask_.row(y) : nullptr;
        for (int32_t x = first; x <= last; ++x) {
            const double w = m_[2][0] * x + wRow;
            if (w == 0.0)
                continue;
            const double u = (m_[0][0] * x + uRow) / w;
            const double v = (m_[1][0] * x + vRow) / w;
            // Positions in (-1, 0) truncate to 0 too; they lie outside and
            // would interpolate with a negative fraction, so u and v are tested
            // themselves. The comparisons also reject NaN.
            if (!(u >= 0.0 && v >= 0.0 && u < uLimit_ && v < vLimit_))
                continue;
            const auto i = static_cast<int32_t>(u);
            const auto j = static_cast<int32_t>(v);
            if (maskRow) {
                const uint8_t selected = saved_[j][i];
                maskRow[x] = selected;
                if (selected != 255)
                    continue;
            }
            const ptrdiff_t from = ptrdiff_t{3} * i;
            BilinearPixel(source_[j] + from, source_[j + 1] + from, u - i, v - j,
                          target + ptrdiff_t{3} * x);
        }
    }

private:
    const std::array<std::array<double, 3>, 3>& m_;
    const CDibImage& image_;
    const RowTable& source_;
    const RowTable& saved_;
    const CDibImage& mask_;
    bool region_;
    double uLimit_;
    double vLimit_;
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
    for (int64_t y = firstRow; y <= lastRow; ++y) {
        std::array<double, 4> crossings{};
        int count = 0;
        for (int k = 0; k < edges.count; ++k) {
            const Edge& edge = edges.edges[k];
            if (edge.yTop <= y && y < edge.yBottom)
                crossings[count++] = edge.xTop + static_cast<double>(y - edge.yTop) * edge.slope;
        }
        SortCrossings(crossings, count);
        for (int p = 0; p + 1 < count; p += 2) {
            const double left = std::floor(crossings[p] + 0.5);
            const double right = std::floor(crossings[p + 1] + 0.5);
            if (right < 0.0 || left > width - 1)
                continue;
            writer.Write(static_cast<int32_t>(y), static_cast<int32_t>(std::max(left, 0.0)),
                         static_cast<int32_t>(std::min(right, width - 1.0)));
        }
    }
    return true;
}

} // namespace halvera
