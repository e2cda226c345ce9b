#include "warping/WarpQuad.h"

#include "image/RegionOfInterest.h"
#include "image/RowBands.h"
#include "warping/ProjectiveMatrix.h"
#include "warping/WarpBuffers.h"
#include "warping/WarpQuadRows.h"

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

// Fills the rows firstRow..lastRow (at most kTileSide of them) in tiles of
// kTileSide x kTileSide pixels: a turned quadrilateral reads its source along
// slanted lines, and one tile's source stays in the cache where a whole row's
// would not.
void WriteBlock(const WarpRowJob& job, const EdgeList& edges, int64_t firstRow, int64_t lastRow,
                int32_t width) {
    const auto rows = static_cast<int32_t>(lastRow - firstRow + 1);
    std::array<RowSpans, kTileSide> spans;
    int32_t blockLeft = width;
    int32_t blockRight = -1;
    for (int32_t r = 0; r < rows; ++r) {
        spans[r] = SpansOfRow(edges, firstRow + r, width);
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
                    WarpRowPiece(job, static_cast<int32_t>(firstRow + r), first, last);
            }
    }
}

// Fills rows firstRow..lastRow block by block, the blocks shared out among
// the pixel workers. Every pixel is computed on its own and written by exactly
// one worker, so the result is the same whatever the number of workers.
void WriteBlocks(const WarpRowJob& job, const EdgeList& edges, int64_t firstRow, int64_t lastRow,
                 int32_t width) {
    const int64_t blocks = (lastRow - firstRow + kTileSide) / kTileSide;
    ForEachRowBand(blocks, [&](int64_t b) {
        const int64_t top = firstRow + b * kTileSide;
        WriteBlock(job, edges, top, std::min(lastRow, top + kTileSide - 1), width);
    });
}

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
    WarpRowJob job;
    job.m = matrix->m;
    // After normalisation an affine mapping has w = 1 everywhere.
    job.affine = job.m[2][0] == 0.0 && job.m[2][1] == 0.0 && job.m[2][2] == 1.0;
    job.image = image;
    job.working = working;
    job.sourceRows = sourceRows.rows();
    job.region = region;
    job.mask = mask;
    job.savedRows = savedRows.rows();

    int64_t top = destination[0].y;
    int64_t bottom = destination[0].y;
    for (const PixelPoint& corner : destination) {
        top = std::min<int64_t>(top, corner.y);
        bottom = std::max<int64_t>(bottom, corner.y);
    }
    const int64_t firstRow = std::max<int64_t>(top, 0);
    const int64_t lastRow = std::min<int64_t>(bottom, height - 2);
    if (firstRow <= lastRow)
        WriteBlocks(job, edges, firstRow, lastRow, width);
    return true;
}

} // namespace halvera
