#include "cli/EdgeMeasureItems.h"

#include "cli/CliOperation.h"
#include "measure/CircularEdge.h"
#include "measure/EdgePoint.h"
#include "measure/EdgeWidth.h"
#include "measure/StraightEdge.h"
#include "platform/UserPrompts.h"

#include <string>
#include <utility>
#include <vector>

namespace halvera {

namespace {

// What each item appends, from its numbers; the miss when no edge was found.
using EdgeAppend = EdgeMiss (*)(MeasureData& data, const std::vector<double>& v,
                                const EdgeItemContext& context);

struct EdgeItemKind {
    std::string_view prefix;
    size_t numbers;
    EdgeAppend append;
};

SubPixelPoint At(const std::vector<double>& v, size_t i) {
    return {v[2 * i], v[2 * i + 1]};
}

EdgeMiss AppendPoint(MeasureData& data, const std::vector<double>& v,
                     const EdgeItemContext& context) {
    const auto point = FindEdgePoint(context.picture, At(v, 0), context.radius);
    if (point)
        data.AppendEdgePoint(*point);
    return point.miss();
}

EdgeMiss AppendLine(MeasureData& data, const std::vector<double>& v,
                    const EdgeItemContext& context) {
    const auto edge = FindStraightEdge(context.picture, At(v, 0), At(v, 1), context.radius);
    if (edge)
        data.AppendEdgeLine(edge->start, edge->end, edge->line.residual);
    return edge.miss();
}

EdgeMiss AppendCircle(MeasureData& data, const std::vector<double>& v,
                      const EdgeItemContext& context) {
    const auto circle = FindCircularEdge(context.picture, At(v, 0), v[2], context.radius);
    if (circle)
        data.AppendEdgeCircle(circle->centre, {circle->centre.x + circle->radius, circle->centre.y},
                              circle->residual);
    return circle.miss();
}

EdgeMiss AppendWidth(MeasureData& data, const std::vector<double>& v,
                     const EdgeItemContext& context) {
    const auto width = MeasureEdgeWidth(context.picture, At(v, 0), At(v, 1), context.radius);
    if (width)
        data.AppendEdgeLine(width->start, width->end, width->residual);
    return width.miss();
}

constexpr EdgeItemKind kEdgeItemKinds[] = {
    {"edge-point", 2, AppendPoint},
    {"edge-line", 4, AppendLine},
    {"edge-circle", 3, AppendCircle},
    {"width", 4, AppendWidth},
};

const EdgeItemKind* FindKind(std::string_view word) {
    const std::string_view prefix = word.substr(0, word.find(':'));
    for (const EdgeItemKind& kind : kEdgeItemKinds)
        if (word.find(':') != std::string_view::npos && kind.prefix == prefix)
            return &kind;
    return nullptr;
}

// Positions lie within the range the whole-pixel items allow.
constexpr double kLargestPosition = 1e9;

std::vector<double> Numbers(std::string_view word, std::string_view text, size_t count) {
    const std::vector<std::string_view> fields = SplitFields(text, ',');
    std::vector<double> values;
    for (const std::string_view field : fields)
        if (const auto value = ParseReal(field);
            value && *value >= -kLargestPosition && *value <= kLargestPosition)
            values.push_back(*value);
    if (fields.size() != count || values.size() != count)
        throw UsageError(std::string(word) + " needs " + std::to_string(count) +
                         " comma-separated numbers");
    return values;
}

} // namespace

bool IsEdgeItem(std::string_view word) {
    return FindKind(word) != nullptr;
}

// The item's kind and numbers, or UsageError.
std::pair<const EdgeItemKind*, std::vector<double>> ParseEdgeItem(std::string_view word,
                                                                  bool hasPicture) {
    const EdgeItemKind* kind = FindKind(word);
    if (!kind)
        throw UsageError("unknown measurement item '" + std::string(word) + "'");
    std::vector<double> numbers = Numbers(word, word.substr(word.find(':') + 1), kind->numbers);
    if (!hasPicture)
        throw UsageError(std::string(word) + " needs a picture: --image FILE");
    if (kind->prefix == "edge-circle" && !(numbers[2] > 0.0))
        throw UsageError(std::string(word) + " needs a radius above 0");
    return {kind, std::move(numbers)};
}

void CheckEdgeItem(std::string_view word, bool hasPicture) {
    ParseEdgeItem(word, hasPicture);
}

bool AppendEdgeItem(MeasureData& data, std::string_view word, const EdgeItemContext& context) {
    const auto [kind, numbers] = ParseEdgeItem(word, !context.picture.empty());
    const EdgeMiss miss = kind->append(data, numbers, context);
    if (miss == EdgeMiss::None)
        return true;
    ShowMessage(std::string(word) + ": " + EdgeMissText(miss, context.radius), MessageIcon::Stop);
    return false;
}

} // namespace halvera
