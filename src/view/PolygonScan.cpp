#include "view/PolygonScan.h"

#include <algorithm>
#include <new>
#include <vector>

namespace halvera {

namespace {

struct PolygonEdge {
    int32_t top;    // first row the edge covers
    int32_t bottom; // first row it no longer covers
    double x;       // crossing on the current row
    double step;    // change of x per row
};

std::vector<PolygonEdge> CollectEdges(std::span<const PixelPoint> points) {
    std::vector<PolygonEdge> edges;
    edges.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        PixelPoint upper = points[i];
        PixelPoint lower = points[(i + 1) % points.size()];
        if (upper.y == lower.y)
            continue;
        if (upper.y > lower.y)
            std::swap(upper, lower);
        const double step =
            (double(lower.x) - double(upper.x)) / (double(lower.y) - double(upper.y));
        edges.push_back({upper.y, lower.y, double(upper.x), step});
    }
    std::stable_sort(edges.begin(), edges.end(),
                     [](const PolygonEdge& a, const PolygonEdge& b) { return a.top < b.top; });
    return edges;
}

// trunc(x + 0.5), held to lo - 1 .. hi + 1 so that a crossing far outside
// the image converts safely and still lies outside lo..hi.
int32_t RoundedColumn(double x, int32_t lo, int32_t hi) {
    const double v = std::clamp(x + 0.5, double(lo) - 1.0, double(hi) + 1.0);
    return std::clamp(static_cast<int32_t>(v), lo - 1, hi + 1);
}

} // namespace

int ScanPolygon(std::span<const PixelPoint> points, int32_t width, int32_t height,
                const PolygonSpan& span) {
    std::vector<PolygonEdge> edges;
    std::vector<PolygonEdge*> active;
    try {
        edges = CollectEdges(points);
        if (edges.size() < 2)
            return 0;
        active.reserve(edges.size());
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (width <= 0 || height <= 0)
        return 1;

    const auto [minX, maxX] = std::minmax_element(
        points.begin(), points.end(), [](PixelPoint a, PixelPoint b) { return a.x < b.x; });
    const auto [minY, maxY] = std::minmax_element(
        points.begin(), points.end(), [](PixelPoint a, PixelPoint b) { return a.y < b.y; });
    const int32_t left = std::max(minX->x, 0);
    const int32_t right = std::min(maxX->x, width - 1);
    const int32_t lastRow = std::min(maxY->y, height - 1);

    size_t next = 0;
    for (int32_t y = minY->y; y <= lastRow; ++y) {
        while (next < edges.size() && edges[next].top == y)
            active.push_back(&edges[next++]);
        std::erase_if(active, [y](const PolygonEdge* e) { return e->bottom == y; });
        // Crossings keep nearly the same order from row to row, so an
        // insertion sort is close to linear here.
        for (size_t i = 1; i < active.size(); ++i) {
            PolygonEdge* e = active[i];
            size_t j = i;
            for (; j > 0 && active[j - 1]->x > e->x; --j)
                active[j] = active[j - 1];
            active[j] = e;
        }
        if (y >= 0 && left <= right) {
            for (size_t i = 0; i + 1 < active.size(); i += 2) {
                const int32_t from = std::max(RoundedColumn(active[i]->x, left, right), left);
                const int32_t to = std::min(RoundedColumn(active[i + 1]->x, left, right), right);
                if (from <= to)
                    span(y, from, to);
            }
        }
        for (PolygonEdge* e : active)
            e->x += e->step;
    }
    return 1;
}

} // namespace halvera
