// The batch tool's annotation operations: the shapes, fill and signs the tool
// box paints, each as one undo step on the document and, except text,
// honouring the selection given with --mask. Coordinates may lie outside the
// image: what falls outside is not painted.

#include "cli/CliOperation.h"
#include "cli/CliTextRasterizer.h"
#include "document/ImageCommand.h"
#include "document/MavDoc.h"
#include "image/RegionOfInterest.h"
#include "platform/UserPrompts.h"
#include "view/ArrowSign.h"
#include "view/Brush.h"
#include "view/FillShapes.h"
#include "view/FloodFillColor.h"
#include "view/RulerSign.h"
#include "view/TextStamp.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace halvera {

namespace {

// Bounds every coordinate so that strokes and shapes stay small to walk.
constexpr int kCoordinateLimit = 100000;
constexpr int kMaxTextPixels = 1000;
constexpr int kDefaultTextPixels = 20;

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

int Size(const OperationArguments& arguments) {
    return arguments.integer("size", kMinBrushSize, kMaxBrushSize);
}

// color=R,G,B in decimal, as a colour reference.
ColourRef Colour(const OperationArguments& arguments) {
    const std::vector<int> c = arguments.integers("color", 3, 0, 255);
    return MakeColourRef(static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]),
                         static_cast<uint8_t>(c[2]));
}

PixelPoint Point(const OperationArguments& arguments, const char* name) {
    const std::vector<int> v = arguments.integers(name, 2, -kCoordinateLimit, kCoordinateLimit);
    return {v[0], v[1]};
}

PixelRect Box(const OperationArguments& arguments) {
    const std::vector<int> v = arguments.integers("rect", 4, -kCoordinateLimit, kCoordinateLimit);
    return PixelRect{v[0], v[1], v[2], v[3]}.normalized();
}

// points=X,Y;X,Y;...: at least one point.
std::vector<PixelPoint> Points(const OperationArguments& arguments) {
    const std::string text = arguments.text("points");
    std::vector<PixelPoint> points;
    for (const std::string_view pair : SplitFields(text, ';')) {
        const std::vector<std::string_view> xy = SplitFields(pair, ',');
        std::optional<int> x, y;
        if (xy.size() == 2) {
            x = ParseInteger(xy[0]);
            y = ParseInteger(xy[1]);
        }
        if (!x || !y || std::abs(*x) > kCoordinateLimit || std::abs(*y) > kCoordinateLimit)
            throw UsageError("points must be X,Y;X,Y;... with whole numbers within +-" +
                             std::to_string(kCoordinateLimit) + ", not " + Quoted(text));
        points.push_back({*x, *y});
    }
    return points;
}

PixelPoint ClampIntoImage(const CMavDoc& doc, PixelPoint p) {
    return {std::clamp(p.x, 0, std::max(doc.width() - 1, 0)),
            std::clamp(p.y, 0, std::max(doc.height() - 1, 0))};
}

// One image undo step painting with `colour` through the document's selection.
template <class Paint> bool PaintStep(CMavDoc& doc, ColourRef colour, Paint paint) {
    RunImageCommand(doc, false, [&] {
        paint(PaintCanvas(doc.image(), doc.mask(), colour));
        return true;
    });
    return true;
}

PreparedOperation PreparePencil(const OperationArguments& arguments) {
    const int size = Size(arguments);
    const ColourRef colour = Colour(arguments);
    const std::vector<PixelPoint> points = Points(arguments);
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour, [&](const PaintCanvas& canvas) {
            StampBrush(canvas, points.front(), size);
            for (size_t i = 1; i < points.size(); ++i)
                StrokeLine(canvas, points[i - 1], points[i], size);
        });
    };
}

PreparedOperation PrepareLine(const OperationArguments& arguments) {
    const int size = Size(arguments);
    const ColourRef colour = Colour(arguments);
    const PixelPoint from = Point(arguments, "from");
    const PixelPoint to = Point(arguments, "to");
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour,
                         [&](const PaintCanvas& canvas) { StrokeLine(canvas, from, to, size); });
    };
}

// The rectangle tool clamps its box into the image.
PixelRect ClampBox(const CMavDoc& doc, const PixelRect& box) {
    const PixelPoint a = ClampIntoImage(doc, {box.left, box.top});
    const PixelPoint b = ClampIntoImage(doc, {box.right, box.bottom});
    return {a.x, a.y, b.x, b.y};
}

PreparedOperation PrepareRectangle(const OperationArguments& arguments) {
    const int size = Size(arguments);
    const ColourRef colour = Colour(arguments);
    const PixelRect box = Box(arguments);
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour, [&](const PaintCanvas& canvas) {
            StrokeRectangle(canvas, ClampBox(doc, box), size);
        });
    };
}

PreparedOperation PrepareFilledRectangle(const OperationArguments& arguments) {
    const ColourRef colour = Colour(arguments);
    const PixelRect box = Box(arguments);
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour, [&](const PaintCanvas& canvas) {
            FillRectColor(canvas, ClampBox(doc, box));
        });
    };
}

PreparedOperation PrepareEllipse(const OperationArguments& arguments) {
    const int size = Size(arguments);
    const ColourRef colour = Colour(arguments);
    const PixelRect box = Box(arguments);
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour,
                         [&](const PaintCanvas& canvas) { StrokeEllipse(canvas, box, size); });
    };
}

PreparedOperation PrepareFilledEllipse(const OperationArguments& arguments) {
    const ColourRef colour = Colour(arguments);
    const PixelRect box = Box(arguments);
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour,
                         [&](const PaintCanvas& canvas) { FillEllipseColor(canvas, box); });
    };
}

// The polygon tool clamps every vertex into the image; one vertex paints
// nothing and leaves no undo step.
std::vector<PixelPoint> ClampPoints(const CMavDoc& doc, std::vector<PixelPoint> points) {
    for (PixelPoint& p : points)
        p = ClampIntoImage(doc, p);
    return points;
}

PreparedOperation PreparePolygon(const OperationArguments& arguments) {
    const int size = Size(arguments);
    const ColourRef colour = Colour(arguments);
    const std::vector<PixelPoint> points = Points(arguments);
    return [=](CMavDoc& doc) {
        if (points.size() < 2)
            return true;
        return PaintStep(doc, colour, [&](const PaintCanvas& canvas) {
            StrokePolygon(canvas, ClampPoints(doc, points), size);
        });
    };
}

PreparedOperation PrepareFilledPolygon(const OperationArguments& arguments) {
    const ColourRef colour = Colour(arguments);
    const std::vector<PixelPoint> points = Points(arguments);
    return [=](CMavDoc& doc) {
        if (points.size() < 2)
            return true;
        RunImageCommand(doc, false, [&] {
            return FillPolygonColor(PaintCanvas(doc.image(), doc.mask(), colour),
                                    ClampPoints(doc, points)) == 1;
        });
        return true;
    };
}

// A seed of the fill colour, outside the image or outside the selection
// fills nothing: the image is written unchanged.
PreparedOperation PrepareFill(const OperationArguments& arguments) {
    const PixelPoint seed = Point(arguments, "at");
    const ColourRef colour = Colour(arguments);
    const int tolerance = arguments.integer("tolerance", 0, kMaxFillTolerance);
    return [=](CMavDoc& doc) {
        RunImageCommand(doc, false, [&] {
            return FloodFillColor(doc.image(), RegionOfInterest(doc.mask()), seed, colour,
                                  tolerance) != 0;
        });
        return true;
    };
}

PreparedOperation PrepareArrow(const OperationArguments& arguments) {
    const PixelPoint tip = Point(arguments, "at");
    const int size = arguments.integer("size", kMinArrowSize, kMaxArrowSize);
    const int turn = arguments.integer("turn", -1000, 1000);
    const ColourRef colour = Colour(arguments);
    return [=](CMavDoc& doc) {
        return PaintStep(doc, colour, [&](const PaintCanvas& canvas) {
            DrawArrowSign(canvas, tip, size, turn * (std::numbers::pi / 4));
        });
    };
}

// calibration=UNIT,REALX,REALY,PIXELX,PIXELY within the calibration's limits,
// or nothing when not given: the ruler then follows the calibration in force.
std::optional<RulerSignScale> Calibration(const OperationArguments& arguments) {
    if (!arguments.has("calibration"))
        return std::nullopt;
    const std::string text = arguments.text("calibration");
    const std::optional<CalibrationFields> fields = ParseCalibrationFields(text);
    const auto realOk = [](double v) {
        return v > 0 && v <= 2000;
    };
    const auto pixelOk = [](int v) {
        return v >= 1 && v <= 2000;
    };
    if (!fields || fields->unit < 0 || fields->unit > 4 || !realOk(fields->realX) ||
        !realOk(fields->realY) || !pixelOk(fields->pixelX) || !pixelOk(fields->pixelY))
        throw UsageError("calibration must be UNIT,REALX,REALY,PIXELX,PIXELY with UNIT 0..4, "
                         "real sizes above 0 up to 2000 and pixel sizes 1..2000, not " +
                         Quoted(text));
    return RulerSignScale{fields->realX, fields->pixelX, fields->unit};
}

PreparedOperation PrepareRulerSign(const OperationArguments& arguments) {
    const PixelPoint left = Point(arguments, "at");
    const ColourRef colour = Colour(arguments);
    const std::optional<RulerSignScale> given = Calibration(arguments);
    return [=](CMavDoc& doc) {
        const RulerSignScale scale = given.value_or(RulerSignScaleFrom(doc.settings()));
        const RulerSignBar bar = ChooseRulerSignBar(scale, doc.width());
        if (!bar.available()) {
            ShowMessage("ruler-sign: no bar available for this calibration and image width; "
                        "the image is unchanged.",
                        MessageIcon::Information);
            return true;
        }
        return PaintStep(doc, colour, [&](const PaintCanvas& canvas) {
            DrawRulerSign(canvas, left, bar, scale.unit);
        });
    };
}

PreparedOperation PrepareText(const OperationArguments& arguments) {
    const PixelPoint at = Point(arguments, "at");
    const std::string string = arguments.text("text");
    const ColourRef colour = Colour(arguments);
    const int pixels = arguments.integer("size", 1, kMaxTextPixels, kDefaultTextPixels);
    return [=](CMavDoc& doc) {
        TextSettings text;
        text.text = string;
        text.left = at.x;
        text.top = at.y;
        text.attributes.colour = colour;
        text.attributes.height = -pixels;
        std::string error;
        const std::optional<TextBitmap> bitmap = RasterizeText(text, pixels, error);
        if (!bitmap) {
            ShowMessage("text: " + error + ".", MessageIcon::Stop);
            return false;
        }
        // The text tool opens no undo step and ignores the selection.
        StampTextBitmap(doc.image(), *bitmap, colour);
        doc.setTextSettings(text);
        doc.SetModifiedFlag();
        return true;
    };
}

constexpr std::array kOperations = {
    CliOperation{"pencil", "pencil size=S color=R,G,B points=X,Y;X,Y;...", &PreparePencil},
    CliOperation{"line", "line size=S color=R,G,B from=X,Y to=X,Y", &PrepareLine},
    CliOperation{"rectangle", "rectangle size=S color=R,G,B rect=L,T,R,B", &PrepareRectangle},
    CliOperation{"filled-rectangle", "filled-rectangle color=R,G,B rect=L,T,R,B",
                 &PrepareFilledRectangle},
    CliOperation{"ellipse", "ellipse size=S color=R,G,B rect=L,T,R,B", &PrepareEllipse},
    CliOperation{"filled-ellipse", "filled-ellipse color=R,G,B rect=L,T,R,B",
                 &PrepareFilledEllipse},
    CliOperation{"polygon", "polygon size=S color=R,G,B points=X,Y;X,Y;...", &PreparePolygon},
    CliOperation{"filled-polygon", "filled-polygon color=R,G,B points=X,Y;X,Y;...",
                 &PrepareFilledPolygon},
    CliOperation{"fill", "fill at=X,Y color=R,G,B tolerance=T", &PrepareFill},
    CliOperation{"arrow", "arrow at=X,Y size=S turn=N color=R,G,B", &PrepareArrow},
    CliOperation{"ruler-sign",
                 "ruler-sign at=X,Y color=R,G,B [calibration=UNIT,REALX,REALY,PIXELX,PIXELY]",
                 &PrepareRulerSign},
    CliOperation{"text", "text at=X,Y text=STRING color=R,G,B [size=PIXELS]", &PrepareText},
};

} // namespace

std::span<const CliOperation> AnnotationOperations() {
    return kOperations;
}

} // namespace halvera
