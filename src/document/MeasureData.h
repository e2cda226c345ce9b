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
// Every Append refuses silently (false) a degenerate item, a duplicate of a
// stored item, or an item that cannot be allocated; see each one.
class MeasureData {
public:
    std::span<const PixelPoint> points() const { return points_.elements(); }
    std::span<const PixelPoint> lines() const { return lines_.elements(); }
    std::span<const PixelPoint> circles() const { return circles_.elements(); }
    std::span<const PixelRect> rectangles() const { return rectangles_.elements(); }
    std::span<const PixelPoint> angles() const { return angles_.elements(); }
    std::span<const int32_t> pointPairs() const { return pointPairs_.elements(); }

    // The same elements for the adjust tools, which move them in place.
    std::span<PixelPoint> mutablePoints() { return points_.elements(); }
    std::span<PixelPoint> mutableLines() { return lines_.elements(); }
    std::span<PixelPoint> mutableCircles() { return circles_.elements(); }
    std::span<PixelRect> mutableRectangles() { return rectangles_.elements(); }
    std::span<PixelPoint> mutableAngles() { return angles_.elements(); }

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

    // Removes item `item` of `kind`, moving the later ones down; false when
    // there is no such item. Removing a point also drops every pair that
    // names it and renumbers the pairs naming later points.
    bool DeleteItem(MeasureKind kind, int item);
    // Empties all six arrays.
    void Clear();

    // Whether `other` holds the same items, element for element, in the same order.
    bool SameItems(const MeasureData& other) const;

private:
    GrowableArray<PixelPoint, 32> points_;
    GrowableArray<PixelPoint, 64> lines_;
    GrowableArray<PixelPoint, 64> circles_;
    GrowableArray<PixelRect, 32> rectangles_;
    GrowableArray<PixelPoint, 96> angles_;
    GrowableArray<int32_t, 64> pointPairs_;
};

} // namespace halvera
