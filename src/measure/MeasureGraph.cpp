#include "measure/MeasureGraph.h"

#include "measure/BresenhamLine.h"
#include "measure/LabelOutline.h"
#include "measure/MeasureColors.h"
#include "measure/MeasureLabels.h"
#include "measure/MeasureValues.h"

#include <cmath>
#include <cstring>
#include <new>
#include <numbers>

namespace halvera {

GraphSurface::GraphSurface(int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    const int stride = (width * 3 + 3) & ~3;
    try {
        bytes_.resize(static_cast<size_t>(stride) * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        return;
    }
    width_ = width;
    height_ = height;
    stride_ = stride;
}

void GraphSurface::Fill(GraphColour colour) {
    for (int y = 0; y < height_; ++y) {
        uint8_t* p = row(y);
        for (uint8_t* const end = p + 3 * width_; p != end; p += 3) {
            p[0] = colour.blue;
            p[1] = colour.green;
            p[2] = colour.red;
        }
    }
}

void GraphSurface::Set(PixelPoint p, GraphColour colour) {
    if (p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_)
        return;
    uint8_t* pixel = row(p.y) + 3 * p.x;
    pixel[0] = colour.blue;
    pixel[1] = colour.green;
    pixel[2] = colour.red;
}

GraphColour GraphSurface::At(PixelPoint p) const {
    const uint8_t* pixel = row(p.y) + 3 * p.x;
    return {pixel[2], pixel[1], pixel[0]};
}

GraphColours GraphColours::FromSettings(const AppSettings& settings) {
    const auto colour = [&](MeasureColorRole role) {
        const MeasureColor& c = MeasureColorOf(settings, role);
        return GraphColour{c.red, c.green, c.blue};
    };
    return {colour(MeasureColorRole::Coordinate), colour(MeasureColorRole::Line),
            colour(MeasureColorRole::Point), colour(MeasureColorRole::Text)};
}

namespace {

constexpr int kArcRadius = 20;
constexpr double kArcStepDegrees = 4.0;

// The offsets of a measured point's ring (ticks on the axes and the ring),
// and of the ring alone.
constexpr PixelPoint kRingTicks[] = {{-4, 0}, {4, 0}, {-5, 0}, {5, 0}, {-6, 0}, {6, 0},
                                     {0, -4}, {0, 4}, {0, -5}, {0, 5}, {0, -6}, {0, 6}};
constexpr PixelPoint kRing[] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}, {-1, -3}, {0, -3},
                                {1, -3},  {-1, 3}, {0, 3},  {1, 3}, {-3, -1}, {-3, 0},
                                {-3, 1},  {3, -1}, {3, 0},  {3, 1}};

class GraphDrawer {
public:
    GraphDrawer(GraphSurface& surface, MeasureScale scale, const GraphColours& colours,
                const GraphLabelPainter& labels)
        : surface_(surface), scale_(scale), colours_(colours), labels_(labels) {}

    void PointPair(PixelPoint pi, PixelPoint pj, const MeasureLabel& text) {
        penLine(colours_.line, pi, pj);
        label(text);
    }

    void Point(PixelPoint p, const MeasureLabel& text) {
        for (const PixelPoint d : kRingTicks)
            set({p.x + d.x, p.y + d.y}, colours_.point);
        for (const PixelPoint d : kRing)
            set({p.x + d.x, p.y + d.y}, colours_.point);
        for (int d = -2; d <= 2; ++d) {
            set({p.x + d, p.y}, colours_.coordinate);
            set({p.x, p.y + d}, colours_.coordinate);
        }
        label(text);
    }

    void Line(PixelPoint s, PixelPoint e, const MeasureLabel& text) {
        penLine(colours_.line, s, e);
        for (const PixelPoint end : {s, e})
            square(end);
        for (const PixelPoint end : {s, e}) {
            penLine(colours_.coordinate, {end.x, end.y - 6}, {end.x, end.y + 6});
            penLine(colours_.coordinate, {end.x - 6, end.y}, {end.x + 6, end.y});
        }
        label(text);
    }

    void Circle(PixelPoint c, PixelPoint q, const MeasureLabel& text) {
        const double dx = q.x - c.x;
        const double dy = q.y - c.y;
        circle(c, static_cast<int>(std::sqrt(dx * dx + dy * dy)));
        for (const PixelPoint p : {c, q})
            square(p);
        for (const PixelPoint p : {c, q})
            smallCross(p);
        label(text);
    }

    void Rectangle(PixelRect r, const MeasureLabel& text) {
        const PixelPoint corners[] = {
            {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        for (int i = 0; i < 4; ++i)
            penLine(colours_.line, corners[i], corners[(i + 1) % 4]);
        for (const PixelPoint corner : corners) {
            square(corner);
            smallCross(corner);
        }
        label(text);
    }

    void Angle(PixelPoint a, PixelPoint v, PixelPoint b, const MeasureLabel& text) {
        // The arms as one polyline A, V, B.
        penLine(colours_.line, a, v);
        penLine(colours_.line, v, b);
        const AngleValues values = MeasureAngle(a, v, b, scale_);
        PixelPoint previous{};
        for (int k = 0; k * kArcStepDegrees < values.Angle; ++k) {
            const double radians = (values.Angle1 + k * kArcStepDegrees) * std::numbers::pi / 180.0;
            const PixelPoint next{v.x + static_cast<int>(kArcRadius * std::cos(radians)),
                                  v.y - static_cast<int>(kArcRadius * std::sin(radians))};
            if (k > 0)
                penLine(colours_.point, previous, next);
            previous = next;
        }
        for (const PixelPoint p : {a, v, b}) {
            square(p);
            for (int d = -6; d <= 6; ++d) {
                set({p.x + d, p.y}, colours_.coordinate);
                set({p.x, p.y + d}, colours_.coordinate);
            }
        }
        label(text);
    }

private:
    void set(PixelPoint p, GraphColour colour) { surface_.Set(p, colour); }

    // A one-pixel pen line: the Bresenham walk without its last pixel.
    void penLine(GraphColour colour, PixelPoint from, PixelPoint to) {
        if (from == to)
            return;
        ForEachLinePixel(from, to, [&](PixelPoint p) {
            if (p != to)
                set(p, colour);
        });
    }

    // The 7 x 7 outline from (x - 3, y - 3) to (x + 3, y + 3).
    void square(PixelPoint at) {
        for (int d = -3; d <= 3; ++d) {
            set({at.x + d, at.y - 3}, colours_.point);
            set({at.x + d, at.y + 3}, colours_.point);
            set({at.x - 3, at.y + d}, colours_.point);
            set({at.x + 3, at.y + d}, colours_.point);
        }
    }

    // Pen lines from (x, y - 3) to (x, y + 4) and from (x - 3, y) to (x + 4, y).
    void smallCross(PixelPoint at) {
        penLine(colours_.coordinate, {at.x, at.y - 3}, {at.x, at.y + 4});
        penLine(colours_.coordinate, {at.x - 3, at.y}, {at.x + 4, at.y});
    }

    // The midpoint circle of `radius` around `c`, eight octants at a time.
    void circle(PixelPoint c, int radius) {
        int x = radius;
        int y = 0;
        int error = 1 - radius;
        while (x >= y) {
            const PixelPoint octants[] = {{x, y},   {y, x},   {-y, x}, {-x, y},
                                          {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
            for (const PixelPoint o : octants)
                set({c.x + o.x, c.y + o.y}, colours_.line);
            ++y;
            if (error < 0) {
                error += 2 * y + 1;
            } else {
                --x;
                error += 2 * (y - x) + 1;
            }
        }
    }

    void label(const MeasureLabel& text) {
        if (!labels_)
            return;
        const GraphColour outline = LabelOutlineColour(colours_.text);
        for (const PixelPoint d : kLabelOutlineOffsets)
            labels_(surface_, {text.position.x + d.x, text.position.y + d.y}, text.text, outline);
        labels_(surface_, text.position, text.text, colours_.text);
    }

    GraphSurface& surface_;
    MeasureScale scale_;
    const GraphColours& colours_;
    const GraphLabelPainter& labels_;
};

} // namespace

void DrawMeasureGraph(GraphSurface& surface, const MeasureData& data, MeasureScale scale,
                      const GraphColours& colours, const GraphLabelPainter& labels) {
    GraphDrawer drawer(surface, scale, colours, labels);
    const ImageToWindowMap identity = [](PixelPoint p) {
        return p;
    };
    const auto label = [&](LabelledKind kind, size_t item) {
        return StoredItemLabel(data, kind, static_cast<int>(item), scale, identity);
    };
    const auto points = data.points();
    const auto pairs = data.pointPairs();
    for (size_t pair = 0; pair < static_cast<size_t>(data.PointPairCount()); ++pair) {
        const auto pi = static_cast<size_t>(pairs[2 * pair]);
        const auto pj = static_cast<size_t>(pairs[2 * pair + 1]);
        if (pi < points.size() && pj < points.size())
            drawer.PointPair(points[pi], points[pj], label(LabelledKind::Pair, pair));
    }
    for (size_t i = 0; i < points.size(); ++i)
        drawer.Point(points[i], label(LabelledKind::Point, i));
    const auto lines = data.lines();
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        drawer.Line(lines[i], lines[i + 1], label(LabelledKind::Line, i / 2));
    const auto circles = data.circles();
    for (size_t i = 0; i + 1 < circles.size(); i += 2)
        drawer.Circle(circles[i], circles[i + 1], label(LabelledKind::Circle, i / 2));
    const auto rectangles = data.rectangles();
    for (size_t i = 0; i < rectangles.size(); ++i)
        drawer.Rectangle(rectangles[i], label(LabelledKind::Rectangle, i));
    const auto angles = data.angles();
    for (size_t i = 0; i + 2 < angles.size(); i += 3)
        drawer.Angle(angles[i], angles[i + 1], angles[i + 2], label(LabelledKind::Angle, i / 3));
}

bool CopyGraphOntoImage(const GraphSurface& surface, GraphColour key, CDibImage image) {
    if (image.empty() || image.bitCount() != 24 || surface.width() != image.width() ||
        surface.height() != image.height)
        return false;
    for (int y = 0; y < surface.height(); ++y) {
        const uint8_t* source = surface.row(y);
        uint8_t* target = image.row(y);
        for (const uint8_t* const end = source + 3 * surface.width(); source != end;
             source += 3, target += 3) {
            if (source[0] != key.blue || source[1] != key.green || source[2] != key.red) {
                target[0] = source[0];
                target[1] = source[1];
                target[2] = source[2];
            }
        }
    }
    return true;
}

void WhitenImage(CDibImage image) {
    if (!image.empty())
        std::memset(image.bits, 255, static_cast<size_t>(image.bitsSize));
}

void BurnMeasureGraph(CDibImage image, const MeasureData& data, MeasureScale scale,
                      const GraphColours& colours, const GraphLabelPainter& labels, GraphColour key,
                      bool whiten) {
    GraphSurface surface(image.width(), image.height);
    if (!surface.valid())
        return;
    if (whiten)
        WhitenImage(image);
    surface.Fill(key);
    DrawMeasureGraph(surface, data, scale, colours, labels);
    CopyGraphOntoImage(surface, key, image);
}

} // namespace halvera
