#include "measure/RecipeRun.h"

#include "measure/CircularEdge.h"
#include "measure/EdgePoint.h"
#include "measure/EdgeWidth.h"
#include "measure/MeasureDataItems.h"
#include "measure/MeasureValues.h"
#include "measure/StraightEdge.h"

#include <algorithm>
#include <cmath>

namespace halvera {

namespace {

// What measuring one placed item needs.
struct Placement {
    CDibImage picture;
    PartFrame frame;
    double snapRadius;
    // Where each recipe item landed in its tab's list; -1 when it did not.
    const std::vector<int>& itemIndex;
};

constexpr std::string_view kRefused = "refused as the same as an earlier item";

std::string Appended(bool appended) {
    return appended ? std::string() : std::string(kRefused);
}

std::string Missed(EdgeMiss miss, double radius) {
    return EdgeMissText(miss, radius);
}

PixelPoint PlacedPixel(const Placement& at, const RecipeItem& item, size_t i) {
    return NearestPixel(at.frame.ToPicture(item.points[i]));
}

SubPixelPoint Placed(const Placement& at, const RecipeItem& item, size_t i) {
    return at.frame.ToPicture(item.points[i]);
}

// A rectangle keeps its sides along the picture's axes: its centre goes
// with the part, its size stays.
PixelRect PlacedRectangle(const Placement& at, const RecipeItem& item) {
    const SubPixelPoint a = item.points[0];
    const SubPixelPoint b = item.points[1];
    const SubPixelPoint centre = at.frame.ToPicture({(a.x + b.x) / 2.0, (a.y + b.y) / 2.0});
    const double halfWidth = std::abs(b.x - a.x) / 2.0;
    const double halfHeight = std::abs(b.y - a.y) / 2.0;
    const PixelPoint topLeft = NearestPixel({centre.x - halfWidth, centre.y - halfHeight});
    const PixelPoint bottomRight = NearestPixel({centre.x + halfWidth, centre.y + halfHeight});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

std::string MeasureEdgeAngle(MeasureData& data, const Placement& at, const RecipeItem& item) {
    SubPixelPoint found[3];
    for (size_t i = 0; i < 3; ++i) {
        const auto point = FindEdgePoint(at.picture, Placed(at, item, i), at.snapRadius);
        if (!point)
            return Missed(point.miss(), at.snapRadius);
        found[i] = *point;
    }
    return Appended(data.AppendEdgeAngle(found[0], found[1], found[2]));
}

std::string MeasureOnEdges(MeasureData& data, const Placement& at, const RecipeItem& item) {
    const double radius = at.snapRadius;
    switch (item.kind) {
    case RecipeItemKind::EdgePoint: {
        const auto point = FindEdgePoint(at.picture, Placed(at, item, 0), radius);
        return point ? Appended(data.AppendEdgePoint(*point)) : Missed(point.miss(), radius);
    }
    case RecipeItemKind::EdgeLine: {
        const auto edge =
            FindStraightEdge(at.picture, Placed(at, item, 0), Placed(at, item, 1), radius);
        return edge ? Appended(data.AppendEdgeLine(edge->start, edge->end, edge->line.residual))
                    : Missed(edge.miss(), radius);
    }
    case RecipeItemKind::EdgeCircle: {
        const SubPixelPoint centre = Placed(at, item, 0);
        const SubPixelPoint onCircle = Placed(at, item, 1);
        const double r = std::hypot(onCircle.x - centre.x, onCircle.y - centre.y);
        const auto circle = FindCircularEdge(at.picture, centre, r, radius);
        return circle ? Appended(data.AppendEdgeCircle(
                            circle->centre, {circle->centre.x + circle->radius, circle->centre.y},
                            circle->residual))
                      : Missed(circle.miss(), radius);
    }
    case RecipeItemKind::Width: {
        const auto width =
            MeasureEdgeWidth(at.picture, Placed(at, item, 0), Placed(at, item, 1), radius);
        return width ? Appended(data.AppendEdgeLine(width->start, width->end, width->residual))
                     : Missed(width.miss(), radius);
    }
    default:
        return MeasureEdgeAngle(data, at, item);
    }
}

std::string MeasureClicked(MeasureData& data, const Placement& at, const RecipeItem& item) {
    switch (item.kind) {
    case RecipeItemKind::Point:
        return Appended(data.AppendPoint(PlacedPixel(at, item, 0)));
    case RecipeItemKind::Line:
        return Appended(data.AppendLine(PlacedPixel(at, item, 0), PlacedPixel(at, item, 1)));
    case RecipeItemKind::Circle:
        return Appended(data.AppendCircle(PlacedPixel(at, item, 0), PlacedPixel(at, item, 1)));
    case RecipeItemKind::Rectangle:
        return Appended(data.AppendRectangle(PlacedRectangle(at, item)));
    case RecipeItemKind::Angle:
        return Appended(data.AppendAngle(PlacedPixel(at, item, 0), PlacedPixel(at, item, 1),
                                         PlacedPixel(at, item, 2)));
    default: {
        const int first = at.itemIndex[static_cast<size_t>(item.first)];
        const int second = at.itemIndex[static_cast<size_t>(item.second)];
        if (first < 0 || second < 0)
            return "one of its points was not measured";
        return Appended(data.AppendPointPair(first, second));
    }
    }
}

// The values of item `index` once it is measured (or not), in data item order.
void AddValues(PictureInspection& run, const InspectionRecipe& recipe, int index, int atIndex,
               MeasureScale scale) {
    const RecipeItem& item = recipe.items[static_cast<size_t>(index)];
    const MeasureKind tab = TraitsOf(item.kind).tab;
    const auto judged = [&](int k, std::optional<double> value) {
        InspectedValue inspected{index, k, value, k >= 0 ? recipe.ToleranceOf(k) : std::nullopt};
        if (!value)
            inspected.verdict = Verdict::Error;
        else if (inspected.tolerance)
            inspected.verdict =
                Judge(*value, *inspected.tolerance).pass ? Verdict::Pass : Verdict::Error;
        run.values.push_back(inspected);
    };
    if (item.kind == RecipeItemKind::PointPair) {
        std::optional<double> distance;
        if (atIndex >= 0) {
            const auto points = run.items.subPixel(MeasureKind::Point);
            const auto pair = run.items.pointPairs().subspan(2 * static_cast<size_t>(atIndex), 2);
            distance = MeasureSubPixelPair(points[static_cast<size_t>(pair[0])],
                                           points[static_cast<size_t>(pair[1])], scale);
        }
        judged(-1, distance);
        return;
    }
    const DataItemRange range = DataItemsOf(tab);
    std::optional<MeasureRow> row;
    if (atIndex >= 0)
        row = MeasureItemRow(run.items, tab, atIndex, scale);
    for (int k = range.first; k < range.first + range.count; ++k)
        if (recipe.output.contains(k))
            judged(k, row ? std::optional<double>(row->values[static_cast<size_t>(k - range.first)])
                          : std::nullopt);
}

int ItemsInList(const MeasureData& data, RecipeItemKind kind) {
    return kind == RecipeItemKind::PointPair ? data.PointPairCount()
                                             : data.ItemCount(TraitsOf(kind).tab);
}

} // namespace

std::string_view VerdictText(Verdict verdict) {
    constexpr std::string_view kTexts[] = {"", "Pass", "Error"};
    return kTexts[static_cast<size_t>(verdict)];
}

std::string_view ValueName(const InspectedValue& value) {
    return value.dataItem < 0 ? std::string_view("Distance") : DataItem(value.dataItem).value;
}

bool PictureInspection::AnyError() const {
    return Failed() || std::any_of(values.begin(), values.end(), [](const InspectedValue& v) {
               return v.verdict == Verdict::Error;
           });
}

PictureInspection InspectPicture(CDibImage picture, const InspectionRecipe& recipe,
                                 const InspectionSettings& settings) {
    PictureInspection run;
    const DatumSearch part = FindPart(picture, recipe, settings.datumRadius);
    if (!part.frame) {
        run.failure = part.failure;
        return run;
    }
    const CalibrationRecord& c = recipe.calibration;
    const MeasureScale scale = ScaleOf(c.realX, c.realY, c.pixelWidth, c.pixelHeight);
    std::vector<int> itemIndex(recipe.items.size(), -1);
    const Placement at{picture, *part.frame, settings.snapRadius, itemIndex};
    for (size_t index = 0; index < recipe.items.size(); ++index) {
        const RecipeItem& item = recipe.items[index];
        const std::string miss = TraitsOf(item.kind).onEdges ? MeasureOnEdges(run.items, at, item)
                                                             : MeasureClicked(run.items, at, item);
        if (miss.empty())
            itemIndex[index] = ItemsInList(run.items, item.kind) - 1;
        else
            run.misses.push_back("item " + std::to_string(index + 1) + " (" +
                                 std::string(TraitsOf(item.kind).word) + "): " + miss);
        AddValues(run, recipe, static_cast<int>(index), itemIndex[index], scale);
    }
    return run;
}

} // namespace halvera
