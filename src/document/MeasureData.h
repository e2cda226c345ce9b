#pragma once

#include "document/MeasureKind.h"
#include "image/PixelGeometry.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <vector>

namespace halvera {

// An array that grows by a fixed number of elements at a time, as the
// measurement lists always have: growing allocates the old capacity plus the
// step and copies, and an allocation that fails refuses the append.
template <typename Element, size_t Step> class GrowableArray {
public:
    std::span<const Element> elements() const { return elements_; }
    std::span<Element> elements() { return elements_; }
    size_t count() const { return elements_.size(); }
    size_t capacity() const { return capacity_; }

    // Appends all of `added`, or nothing when the array cannot grow.
    bool Append(std::span<const Element> added);
    // Removes `length` elements from `first` on, moving the later ones down.
    void Erase(size_t first, size_t length);
    void Clear() { elements_.clear(); }

private:
    std::vector<Element> elements_;
    size_t capacity_ = 0;
};

template <typename Element, size_t Step>
bool GrowableArray<Element, Step>::Append(std::span<const Element> added) {
    while (elements_.size() + added.size() > capacity_) {
        try {
            elements_.reserve(capacity_ + Step);
        } catch (const std::bad_alloc&) {
            return false;
        }
        capacity_ += Step;
    }
    elements_.insert(elements_.end(), added.begin(), added.end());
    return true;
}

template <typename Element, size_t Step>
void GrowableArray<Element, Step>::Erase(size_t first, size_t length) {
    const auto begin = elements_.begin() + static_cast<ptrdiff_t>(first);
    elements_.erase(begin, begin + static_cast<ptrdiff_t>(length));
}

// What an item keeps about the edges it was measured on.
struct EdgeFit {
    // Made from the picture's edges and not moved by hand since.
    bool measured = false;
    // RMS distance of the edge points from the fitted line or circle, in
    // pixels: the straightness or roundness of the edge (0 for a point).
    double residual = 0.0;
    bool operator==(const EdgeFit&) const = default;
};

// The measured shapes of one document, in image pixels, in six arrays whose
// counts are held in elements (points, ints or rectangles), not in items:
//
//   points      one point per item
//   lines       start S, end E
//   circles     centre C, a point Q on the circle
//   rectangles  one normalised rectangle (left <= right, top <= bottom)
//   angles      first arm end A, vertex V, second arm end B
//   point pairs the indices i, j of two stored points (no panel row)
//
// Points, lines, circles and angles also hold every element to a fraction of
// a pixel (`subPixel`), element for element beside the whole pixels, and an
// `EdgeFit` per item. Every value is computed from the sub-pixel elements: a
// clicked item holds its whole pixels there too, so its values are those of
// its whole pixels, while an item measured on edges holds its own positions
// and, in the whole-pixel arrays, the pixels covering them (for drawing and
// hit tests).
//
// Every Append refuses silently (false) a degenerate item, a duplicate of a
// stored item, or an item that cannot be allocated; see each one.
class MeasureData {
public:
    std::span<const PixelPoint> points() const { return points_.pixels.elements(); }
    std::span<const PixelPoint> lines() const { return lines_.pixels.elements(); }
    std::span<const PixelPoint> circles() const { return circles_.pixels.elements(); }
    std::span<const PixelRect> rectangles() const { return rectangles_.elements(); }
    std::span<const PixelPoint> angles() const { return angles_.pixels.elements(); }
    std::span<const int32_t> pointPairs() const { return pointPairs_.elements(); }

    // The sub-pixel elements of points, lines, circles or angles (none for
    // rectangles), in the order of the whole-pixel arrays.
    std::span<const SubPixelPoint> subPixel(MeasureKind kind) const;
    // What item `item` of `kind` keeps about its edges; a default EdgeFit
    // for a rectangle or an item that does not exist.
    EdgeFit edgeFit(MeasureKind kind, int item) const;

    // The rectangles for the adjust tool, which moves them in place.
    std::span<PixelRect> mutableRectangles() { return rectangles_.elements(); }
    // The adjust tools' moves of element `element` of points, lines, circles
    // or angles: to a whole pixel, or by a whole-pixel step (keeping the
    // fraction of an element measured on edges). Either ends the item's fit.
    void MoveElement(MeasureKind kind, size_t element, PixelPoint to);
    void ShiftElement(MeasureKind kind, size_t element, PixelPoint by);
    // The point tool's drag with snapping on: point `point` moves to an edge point.
    void MovePointToEdge(size_t point, SubPixelPoint to);

    // Items of a kind (lines: elements / 2, angles: elements / 3, ...).
    int ItemCount(MeasureKind kind) const;
    int PointPairCount() const { return static_cast<int>(pointPairs_.count() / 2); }

    // Refused when P equals the last stored point.
    bool AppendPoint(PixelPoint p);
    // Refused when S equals E or a stored line has the same S and E.
    bool AppendLine(PixelPoint start, PixelPoint end);
    // Refused when Q equals C or a stored circle has the same C and Q.
    bool AppendCircle(PixelPoint centre, PixelPoint onCircle);
    // Normalised first; refused when it is a single point or an equal
    // rectangle is stored. A zero width or height alone is accepted.
    bool AppendRectangle(PixelRect rectangle);
    // Refused when A equals V, V equals B, or a stored angle has the same A, V, B.
    bool AppendAngle(PixelPoint a, PixelPoint vertex, PixelPoint b);
    // Point indices from 0. Refused when i equals j, either names no stored
    // point, or the pair (i, j) in this order is stored.
    bool AppendPointPair(int i, int j);

    // Items measured on edges, with the same refusals as their clicked
    // counterparts, compared in sub-pixel positions.
    bool AppendEdgePoint(SubPixelPoint p);
    bool AppendEdgeLine(SubPixelPoint start, SubPixelPoint end, double residual);
    bool AppendEdgeCircle(SubPixelPoint centre, SubPixelPoint onCircle, double residual);
    bool AppendEdgeAngle(SubPixelPoint a, SubPixelPoint vertex, SubPixelPoint b);

    // Items as a measurement file kept them, appended without the Append
    // calls' duplicate checks (the adjust tools may have moved one item onto
    // another, and the file keeps both): the sub-pixel elements of a point,
    // line, circle or angle with its fit (the whole pixels are those covering
    // the elements), or a rectangle. False for a wrong element count, a
    // rectangle that is not normalised, or a failed allocation.
    bool RestoreItem(MeasureKind kind, std::span<const SubPixelPoint> elements, EdgeFit fit);
    bool RestoreRectangle(PixelRect rectangle);
    // Appends every item of `other` after the stored ones, as the Restore
    // calls do; its point pairs are renumbered to name its points in their
    // new places. False, with only some items appended, when one fails.
    bool AppendItemsOf(const MeasureData& other);

    // Removes item `item` of `kind`, moving the later ones down; false when
    // there is no such item. Removing a point also drops every pair that
    // names it and renumbers the pairs naming later points.
    bool DeleteItem(MeasureKind kind, int item);
    // Empties all six arrays.
    void Clear();

    // Whether `other` holds the same items, element for element, in the same order.
    bool SameItems(const MeasureData& other) const;

private:
    // One kind's items: whole-pixel and sub-pixel elements and a fit per item.
    template <size_t Step> struct MeasuredShapes {
        GrowableArray<PixelPoint, Step> pixels;
        GrowableArray<SubPixelPoint, Step> exact;
        std::vector<EdgeFit> fits;
    };
    template <size_t Step>
    static bool AppendShape(MeasuredShapes<Step>& shapes, std::span<const SubPixelPoint> item,
                            EdgeFit fit);
    template <size_t Step>
    static void EraseShape(MeasuredShapes<Step>& shapes, size_t item, size_t elementsPerItem);
    template <size_t Step> static void ClearShapes(MeasuredShapes<Step>& shapes);
    template <size_t Step>
    static bool AppendTwoPointShape(MeasuredShapes<Step>& shapes,
                                    std::span<const SubPixelPoint, 2> item, EdgeFit fit);
    bool AppendPointWithFit(SubPixelPoint p, EdgeFit fit);
    bool AppendAngleWithFit(SubPixelPoint a, SubPixelPoint vertex, SubPixelPoint b, EdgeFit fit);
    void DropPairsOfPoint(int point);
    // The shapes of points, lines, circles or angles.
    template <typename Visit> auto WithShapes(MeasureKind kind, Visit visit) const;
    template <typename Visit> auto WithShapes(MeasureKind kind, Visit visit);
    template <typename Data, typename Visit>
    static auto WithShapesOf(Data& data, MeasureKind kind, Visit visit);

    MeasuredShapes<32> points_;
    MeasuredShapes<64> lines_;
    MeasuredShapes<64> circles_;
    GrowableArray<PixelRect, 32> rectangles_;
    MeasuredShapes<96> angles_;
    GrowableArray<int32_t, 64> pointPairs_;
};

} // namespace halvera
