#include "document/MeasureData.h"

#include <algorithm>

namespace halvera {

namespace {

// Elements per item of each kind with a panel tab, in MeasureKind order.
constexpr size_t kElementsPerItem[] = {1, 2, 2, 1, 3};

size_t ElementsPerItem(MeasureKind kind) {
    return kElementsPerItem[static_cast<int>(kind)];
}

// Whether `items` (groups of `added.size()` elements) holds one equal to `added`.
template <typename Element>
bool HoldsItem(std::span<const Element> items, std::span<const Element> added) {
    for (size_t i = 0; i + added.size() <= items.size(); i += added.size())
        if (std::equal(added.begin(), added.end(), items.begin() + i))
            return true;
    return false;
}

} // namespace

int MeasureData::ItemCount(MeasureKind kind) const {
    size_t elements = 0;
    switch (kind) {
    case MeasureKind::Point:
        elements = points_.count();
        break;
    case MeasureKind::Line:
        elements = lines_.count();
        break;
    case MeasureKind::Circle:
        elements = circles_.count();
        break;
    case MeasureKind::Rectangle:
        elements = rectangles_.count();
        break;
    case MeasureKind::Angle:
        elements = angles_.count();
        break;
    }
    return static_cast<int>(elements / ElementsPerItem(kind));
}

bool MeasureData::AppendPoint(PixelPoint p) {
    if (points_.count() > 0 && points_.elements().back() == p)
        return false;
    return points_.Append(std::span<const PixelPoint>(&p, 1));
}

bool MeasureData::AppendLine(PixelPoint start, PixelPoint end) {
    const PixelPoint line[] = {start, end};
    if (start == end || HoldsItem<PixelPoint>(lines_.elements(), line))
        return false;
    return lines_.Append(line);
}

bool MeasureData::AppendCircle(PixelPoint centre, PixelPoint onCircle) {
    const PixelPoint circle[] = {centre, onCircle};
    if (centre == onCircle || HoldsItem<PixelPoint>(circles_.elements(), circle))
        return false;
    return circles_.Append(circle);
}

bool MeasureData::AppendRectangle(PixelRect rectangle) {
    const PixelRect normal = rectangle.normalized();
    const PixelRect item[] = {normal};
    if ((normal.left == normal.right && normal.top == normal.bottom) ||
        HoldsItem<PixelRect>(rectangles_.elements(), item))
        return false;
    return rectangles_.Append(item);
}

bool MeasureData::AppendAngle(PixelPoint a, PixelPoint vertex, PixelPoint b) {
    const PixelPoint angle[] = {a, vertex, b};
    if (a == vertex || vertex == b || HoldsItem<PixelPoint>(angles_.elements(), angle))
        return false;
    return angles_.Append(angle);
}

bool MeasureData::AppendPointPair(int i, int j) {
    const int points = static_cast<int>(points_.count());
    const int32_t pair[] = {i, j};
    if (i == j || i < 0 || j < 0 || i >= points || j >= points ||
        HoldsItem<int32_t>(pointPairs_.elements(), pair))
        return false;
    return pointPairs_.Append(pair);
}

bool MeasureData::DeleteItem(MeasureKind kind, int item) {
    if (item < 0 || item >= ItemCount(kind))
        return false;
    const size_t size = ElementsPerItem(kind);
    const size_t first = static_cast<size_t>(item) * size;
    switch (kind) {
    case MeasureKind::Point: {
        std::vector<int32_t> kept;
        const auto pairs = pointPairs_.elements();
        for (size_t p = 0; p + 1 < pairs.size(); p += 2) {
            if (pairs[p] == item || pairs[p + 1] == item)
                continue;
            kept.push_back(pairs[p] > item ? pairs[p] - 1 : pairs[p]);
            kept.push_back(pairs[p + 1] > item ? pairs[p + 1] - 1 : pairs[p + 1]);
        }
        std::copy(kept.begin(), kept.end(), pairs.begin());
        pointPairs_.Erase(kept.size(), pairs.size() - kept.size());
        points_.Erase(first, size);
        break;
    }
    case MeasureKind::Line:
        lines_.Erase(first, size);
        break;
    case MeasureKind::Circle:
        circles_.Erase(first, size);
        break;
    case MeasureKind::Rectangle:
        rectangles_.Erase(first, size);
        break;
    case MeasureKind::Angle:
        angles_.Erase(first, size);
        break;
    }
    return true;
}

void MeasureData::Clear() {
    points_.Clear();
    lines_.Clear();
    circles_.Clear();
    rectangles_.Clear();
    angles_.Clear();
    pointPairs_.Clear();
}

bool MeasureData::SameItems(const MeasureData& other) const {
    const auto same = [](auto mine, auto theirs) {
        return std::ranges::equal(mine, theirs);
    };
    return same(points(), other.points()) && same(lines(), other.lines()) &&
           same(circles(), other.circles()) && same(rectangles(), other.rectangles()) &&
           same(angles(), other.angles()) && same(pointPairs(), other.pointPairs());
}

} // namespace halvera
