#pragma once

#include "document/MavDoc.h"
#include "document/SelectionRecord.h"

namespace halvera {

// The smoothing filters, numbered as the Smooth submenu's handler takes them.
enum class SmoothingFilter { LowPass = 1, Median = 2, Average = 3 };

// The edge detectors, numbered as the Edge detection submenu's handler takes them.
enum class EdgeFilter {
    Laplace = 1,
    Kirsch = 2,
    Roberts = 3,
    Sobel = 4,
    Prewitt = 5,
    Horizontal = 6,
    UpRight = 7,
    DownLeft = 8,
    Vertical = 9,
};

// The window size the Average command passes (a 5 x 5 window).
constexpr int kAverageCommandWindow = 4;

// The processing commands as they run on a document, shared by the menu
// commands and the batch tool. Each is one image step of the undo history
// (image-command pattern) honouring the document's selection mask; `selection`
// is the view's selection record. All return false, with the step dropped and
// the image unchanged, when the operation refused its operands or values.

// Invert and Grayscale work in place on the image; no working copy is taken.
bool RunInvertCommand(CMavDoc& doc, SelectionRecord& selection);
bool RunGrayscaleCommand(CMavDoc& doc, SelectionRecord& selection);

// The filters read the working copy taken just before they run. All but
// Roberts and Kirsch show the wait cursor while they run.
bool RunSmoothingCommand(CMavDoc& doc, SelectionRecord& selection, SmoothingFilter filter);
bool RunEdgeCommand(CMavDoc& doc, SelectionRecord& selection, EdgeFilter filter);

// What the adjustment dialogs leave after OK for the given slider values
// (percent, -100..100; hue in degrees, -180..180), computed once from the
// working copy.
bool RunBrightnessContrastCommand(CMavDoc& doc, SelectionRecord& selection, int brightness,
                                  int contrast);
bool RunColorBalanceCommand(CMavDoc& doc, SelectionRecord& selection, int cyanRed, int magentaGreen,
                            int yellowBlue);
bool RunHueSaturationCommand(CMavDoc& doc, SelectionRecord& selection, int hue, int saturation,
                             int brightness);

} // namespace halvera
