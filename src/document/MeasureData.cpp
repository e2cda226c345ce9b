#include "document/MeasureData.h"

#include <algorithm>

namespace halvera {

namespace {

size_t ElementsPerItem(MeasureKind kind) {
    return ElementsPerItemOf(kind);
}

// Whether `items` (groups of `added.size()` elements) holds one equal to `added`.
template <typename Element>
bool HoldsItem(std::span<const Element> items, std::span<const Element> added) {
    for (size_t i = 0; i + added.size() <= items.size(); i += added.size())
        if (std::equal(added.begin(), added.end(), items.begin() + i))
            return true;
    return false;
}

constexpr EdgeFit kClicked{};

} // namespace

template <size_t Step>
bool MeasureData::AppendShape(MeasuredShapes<Step>& shapes, std::span<const SubPixelPoint> item,
                              EdgeFit fit) {
    PixelPoint pixels[3];
    for (size_t i = 0; i < item.size(); ++i)
        pixels[i] = NearestPixel(item[i]);
    const size_t first = shapes.pixels.count();
    if (!shapes.pixels.Append(std::span<const PixelPoint>(pixels, item.size())))
        return false;
    if (!shapes.exact.Append(item)) {
        shapes.pixels.Erase(first, item.size());
        return false;
    }
    try {
        shapes.fits.push_back(fit);
    } catch (const std::bad_alloc&) {
        shapes.pixels.Erase(first, item.size());
        shapes.exact.Erase(first, item.size());
        return false;
    }
    return true;
}

template <size_t Step>
void MeasureData::EraseShape(MeasuredShapes<Step>& shapes, size_t item, size_t elementsPerItem) {
    shapes.pixels.Erase(item * elementsPerItem, elementsPerItem);
    shapes.exact.Erase(item * elementsPerItem, elementsPerItem);
    shapes.fits.erase(shapes.fits.begin() + static_cast<ptrdiff_t>(item));
}

template <size_t Step> void MeasureData::ClearShapes(MeasuredShapes<Step>& shapes) {
    shapes.pixels.Clear();
    shapes.exact.Clear();
    shapes.fits.clear();
}

// One switch for the const and the mutable visit.
template <typename Data, typename Visit>
auto MeasureData::WithShapesOf(Data& data, MeasureKind kind, Visit visit) {
    switch (kind) {
    case MeasureKind::Line:
        return visit(data.lines_);
    case MeasureKind::Circle:
        return visit(data.circles_);
    case MeasureKind::Angle:
        return visit(data.angles_);
    default:
        return visit(data.points_);
    }
}

template <typename Visit> auto MeasureData::WithShapes(MeasureKind kind, Visit visit) const {
    return WithShapesOf(*this, kind, visit);
}

template <typename Visit> auto MeasureData::WithShapes(MeasureKind kind, Visit visit) {
    return WithShapesOf(*this, kind, visit);
}

std::span<const SubPixelPoint> MeasureData::subPixel(MeasureKind kind) const {
    if (kind == MeasureKind::Rectangle)
        return {};
    return WithShapes(kind, [](const auto& shapes) {
        return std::span<const SubPixelPoint>(shapes.exact.elements());
    });
}

EdgeFit MeasureData::edgeFit(MeasureKind kind, int item) const {
    if (kind == MeasureKind::Rectangle || item < 0 || item >= ItemCount(kind))
        return {};
    return WithShapes(
        kind, [item](const auto& shapes) { return shapes.fits[static_cast<size_t>(item)]; });
}

void MeasureData::MoveElement(MeasureKind kind, size_t element, PixelPoint to) {
    if (kind == MeasureKind::Rectangle)
        return;
    WithShapes(kind, [&](auto& shapes) {
        shapes.pixels.elements()[element] = to;
        shapes.exact.elements()[element] = ExactPoint(to);
        shapes.fits[element / ElementsPerItem(kind)] = kClicked;
    });
}

void MeasureData::ShiftElement(MeasureKind kind, size_t element, PixelPoint by) {
    if (kind == MeasureKind::Rectangle)
        return;
    WithShapes(kind, [&](auto& shapes) {
        PixelPoint& pixel = shapes.pixels.elements()[element];
        pixel = {pixel.x + by.x, pixel.y + by.y};
        SubPixelPoint& exact = shapes.exact.elements()[element];
        exact = {exact.x + by.x, exact.y + by.y};
        shapes.fits[element / ElementsPerItem(kind)] = kClicked;
    });
}

void MeasureData::MovePointToEdge(size_t point, SubPixelPoint to) {
    points_.pixels.elements()[point] = NearestPixel(to);
    points_.exact.elements()[point] = to;
    points_.fits[point] = EdgeFit{true, 0.0};
}

int MeasureData::ItemCount(MeasureKind kind) const {
    const size_t elements =
        kind == MeasureKind::Rectangle
            ? rectangles_.count()
            : WithShapes(kind, [](const auto& shapes) { return shapes.pixels.count(); });
    return static_cast<int>(elements / ElementsPerItem(kind));
}

bool MeasureData::AppendPoint(PixelPoint p) {
    return AppendPointWithFit(ExactPoint(p), kClicked);
}

bool MeasureData::AppendLine(PixelPoint start, PixelPoint end) {
    const SubPixelPoint line[] = {ExactPoint(start), ExactPoint(end)};
    return AppendTwoPointShape(lines_, line, kClicked);
}

bool MeasureData::AppendCircle(PixelPoint centre, PixelPoint onCircle) {
    const SubPixelPoint circle[] = {ExactPoint(centre), ExactPoint(onCircle)};
    return AppendTwoPointShape(circles_, circle, kClicked);
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
    return AppendAngleWithFit(ExactPoint(a), ExactPoint(vertex), ExactPoint(b), kClicked);
}

bool MeasureData::RestoreItem(MeasureKind kind, std::span<const SubPixelPoint> elements,
                              EdgeFit fit) {
    if (kind == MeasureKind::Rectangle || elements.size() != ElementsPerItem(kind))
        return false;
    return WithShapes(kind, [&](auto& shapes) { return AppendShape(shapes, elements, fit); });
}

bool MeasureData::RestoreRectangle(PixelRect rectangle) {
    if (rectangle != rectangle.normalized())
        return false;
    const PixelRect item[] = {rectangle};
    return rectangles_.Append(item);
}

bool MeasureData::AppendItemsOf(const MeasureData& other) {
    const int firstPoint = ItemCount(MeasureKind::Point);
    bool appended = true;
    for (const MeasureKind kind :
         {MeasureKind::Point, MeasureKind::Line, MeasureKind::Circle, MeasureKind::Angle}) {
        const size_t perItem = ElementsPerItem(kind);
        const std::span<const SubPixelPoint> elements = other.subPixel(kind);
        for (int item = 0; item < other.ItemCount(kind); ++item)
            appended = appended && RestoreItem(kind, elements.subspan(item * perItem, perItem),
                                               other.edgeFit(kind, item));
    }
    for (const PixelRect& rectangle : other.rectangles())
        appended = appended && RestoreRectangle(rectangle);
    const std::span<const int32_t> pairs = other.pointPairs();
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        appended = appended && AppendPointPair(pairs[i] + firstPoint, pairs[i + 1] + firstPoint);
    return appended;
}

bool MeasureData::AppendPointPair(int i, int j) {
    const int points = static_cast<int>(points_.pixels.count());
    const int32_t pair[] = {i, j};
    if (i == j || i < 0 || j < 0 || i >= points || j >= points ||
        HoldsItem<int32_t>(pointPairs_.elements(), pair))
        return false;
    return pointPairs_.Append(pair);
}

bool MeasureData::AppendEdgePoint(SubPixelPoint p) {
    return AppendPointWithFit(p, EdgeFit{true, 0.0});
}

bool MeasureData::AppendEdgeLine(SubPixelPoint start, SubPixelPoint end, double residual) {
    const SubPixelPoint line[] = {start, end};
    return AppendTwoPointShape(lines_, line, EdgeFit{true, residual});
}

bool MeasureData::AppendEdgeCircle(SubPixelPoint centre, SubPixelPoint onCircle, double residual) {
    const SubPixelPoint circle[] = {centre, onCircle};
    return AppendTwoPointShape(circles_, circle, EdgeFit{true, residual});
}

bool MeasureData::AppendEdgeAngle(SubPixelPoint a, SubPixelPoint vertex, SubPixelPoint b) {
    return AppendAngleWithFit(a, vertex, b, EdgeFit{true, 0.0});
}

bool MeasureData::AppendPointWithFit(SubPixelPoint p, EdgeFit fit) {
    const auto stored = points_.exact.elements();
    if (!stored.empty() && stored.back() == p)
        return false;
    return AppendShape(points_, std::span<const SubPixelPoint>(&p, 1), fit);
}

template <size_t Step>
bool MeasureData::AppendTwoPointShape(MeasuredShapes<Step>& shapes,
                                      std::span<const SubPixelPoint, 2> item, EdgeFit fit) {
    if (item[0] == item[1] || HoldsItem<SubPixelPoint>(shapes.exact.elements(), item))
        return false;
    return AppendShape(shapes, item, fit);
}

bool MeasureData::AppendAngleWithFit(SubPixelPoint a, SubPixelPoint vertex, SubPixelPoint b,
                                     EdgeFit fit) {
    const SubPixelPoint angle[] = {a, vertex, b};
    if (a == vertex || vertex == b || HoldsItem<SubPixelPoint>(angles_.exact.elements(), angle))
        return false;
    return AppendShape(angles_, angle, fit);
}

bool MeasureData::DeleteItem(MeasureKind kind, int item) {
    if (item < 0 || item >= ItemCount(kind))
        return false;
    const auto index = static_cast<size_t>(item);
    if (kind == MeasureKind::Rectangle) {
        rectangles_.Erase(index, 1);
        return true;
    }
    if (kind == MeasureKind::Point)
        DropPairsOfPoint(item);
    WithShapes(kind, [&](auto& shapes) { EraseShape(shapes, index, ElementsPerItem(kind)); });
    return true;
}

void MeasureData::DropPairsOfPoint(int point) {
    std::vector<int32_t> kept;
    const auto pairs = pointPairs_.elements();
    for (size_t p = 0; p + 1 < pairs.size(); p += 2) {
        if (pairs[p] == point || pairs[p + 1] == point)
            continue;
        kept.push_back(pairs[p] > point ? pairs[p] - 1 : pairs[p]);
        kept.push_back(pairs[p + 1] > point ? pairs[p + 1] - 1 : pairs[p + 1]);
    }
    std::copy(kept.begin(), kept.end(), pairs.begin());
    pointPairs_.Erase(kept.size(), pairs.size() - kept.size());
}

void MeasureData::Clear() {
    ClearShapes(points_);
    ClearShapes(lines_);
    ClearShapes(circles_);
    rectangles_.Clear();
    ClearShapes(angles_);
    pointPairs_.Clear();
}

bool MeasureData::SameItems(const MeasureData& other) const {
    const auto same = [](auto mine, auto theirs) {
        return std::ranges::equal(mine, theirs);
    };
    // The sub-pixel elements hold the whole pixels of clicked items too, so
    // comparing them tells an edge item moved by a fraction of a pixel.
    for (const MeasureKind kind :
         {MeasureKind::Point, MeasureKind::Line, MeasureKind::Circle, MeasureKind::Angle})
        if (!same(subPixel(kind), other.subPixel(kind)))
            return false;
    return same(rectangles(), other.rectangles()) && same(pointPairs(), other.pointPairs());
}

} // namespace halvera
