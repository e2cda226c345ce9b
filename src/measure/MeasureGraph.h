#pragma once

#include "document/MeasureData.h"
#include "image/AppSettings.h"
#include "image/DibImage.h"
#include "image/PixelGeometry.h"
#include "measure/RulerCalibration.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace halvera {

struct GraphColour {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const GraphColour&) const = default;
};
inline constexpr GraphColour kGraphGrey{128, 128, 128};
inline constexpr GraphColour kGraphWhite{255, 255, 255};

// The measurement graph's drawing surface: exactly the image's size, image
// pixel (x, y) at surface pixel (x, y), rows from the top, blue, green, red,
// each row padded to 4 bytes so a window system can wrap it as it lies.
class GraphSurface {
public:
    // An empty surface (valid() false) when the memory cannot be had.
    GraphSurface(int width, int height);

    bool valid() const { return !bytes_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    uint8_t* row(int y) { return bytes_.data() + static_cast<size_t>(y) * stride_; }
    const uint8_t* row(int y) const { return bytes_.data() + static_cast<size_t>(y) * stride_; }

    void Fill(GraphColour colour);
    // Pixels outside the surface are left out.
    void Set(PixelPoint p, GraphColour colour);
    GraphColour At(PixelPoint p) const;

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    std::vector<uint8_t> bytes_;
};

// Draws a label's text with its top-left corner at `position`, in `colour`,
// on no background. The desktop draws with its fonts, the batch tool with
// FreeType; the pixels need not match between them.
using GraphLabelPainter = std::function<void(GraphSurface& surface, PixelPoint position,
                                             std::string_view text, GraphColour colour)>;

// The four measurement colours (MTColor1..4) as the graph paints them.
struct GraphColours {
    GraphColour coordinate, line, point, text;
    static GraphColours FromSettings(const AppSettings& settings);
};

// Draws every item of `data` on `surface` in image coordinates, as the view
// draws them at 100 % with no scrolling, except that segments (lines,
// rectangle edges, angle arms, point-pair lines) are one-pixel pen lines
// that leave out their last pixel, and no guides, selection squares or
// rubber bands are drawn. Order: point pairs, points, lines, circles,
// rectangles, angles, each shape before its label.
void DrawMeasureGraph(GraphSurface& surface, const MeasureData& data, MeasureScale scale,
                      const GraphColours& colours, const GraphLabelPainter& labels);

// Copies every surface pixel that differs from `key` into the same pixel of
// the 24-bit `image` (row i of the surface is image row i from the top). The
// sizes must match; false, touching nothing, otherwise.
bool CopyGraphOntoImage(const GraphSurface& surface, GraphColour key, CDibImage image);

// Every byte of the image's pixels set to 255.
void WhitenImage(CDibImage image);

// The image with the measurement drawing of `data` in it: a surface filled
// with `key`, the items drawn, and every pixel not of the key colour copied
// into `image`. When `whiten` is set the image is made white first. Without
// surface memory the image is left as it is.
void BurnMeasureGraph(CDibImage image, const MeasureData& data, MeasureScale scale,
                      const GraphColours& colours, const GraphLabelPainter& labels, GraphColour key,
                      bool whiten);

} // namespace halvera
