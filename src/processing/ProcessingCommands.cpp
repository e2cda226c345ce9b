#include "processing/ProcessingCommands.h"

#include "document/ImageCommand.h"
#include "platform/UserPrompts.h"
#include "processing/ApplyBrightness.h"
#include "processing/ApplyColorBalance.h"
#include "processing/ApplyContrast.h"
#include "processing/ApplyHueSaturation.h"
#include "processing/ClampTable.h"
#include "processing/EdgeDirectional.h"
#include "processing/EdgeKirsch.h"
#include "processing/EdgeLaplace.h"
#include "processing/EdgePrewitt.h"
#include "processing/EdgeRoberts.h"
#include "processing/EdgeSobel.h"
#include "processing/FilterAverage.h"
#include "processing/FilterLowPass.h"
#include "processing/FilterMedian.h"
#include "processing/GrayscaleImage.h"
#include "processing/InvertImage.h"
#include "processing/MeanGray.h"

#include <optional>

namespace halvera {

namespace {

bool ApplySmoothing(SmoothingFilter filter, const CDibImage& image, const CDibImage& working,
                    const CDibImage& mask) {
    switch (filter) {
    case SmoothingFilter::LowPass:
        return FilterLowPass(image, working, mask);
    case SmoothingFilter::Median:
        return FilterMedian(image, working, mask);
    case SmoothingFilter::Average:
        return FilterAverage(image, working, mask, kAverageCommandWindow);
    }
    return false;
}

bool ApplyEdge(EdgeFilter filter, const CDibImage& image, const CDibImage& working,
               const CDibImage& mask) {
    switch (filter) {
    case EdgeFilter::Laplace:
        return EdgeLaplace(image, working, mask);
    case EdgeFilter::Kirsch:
        return EdgeKirsch(image, working, mask);
    case EdgeFilter::Roberts:
        return EdgeRoberts(image, working, mask);
    case EdgeFilter::Sobel:
        return EdgeSobel(image, working, mask);
    case EdgeFilter::Prewitt:
        return EdgePrewitt(image, working, mask);
    case EdgeFilter::Horizontal:
        return EdgeDirectional(image, working, mask, kHorizontalEdgeKernel);
    case EdgeFilter::UpRight:
        return EdgeDirectional(image, working, mask, kUpRightEdgeKernel);
    case EdgeFilter::DownLeft:
        return EdgeDirectional(image, working, mask, kDownLeftEdgeKernel);
    case EdgeFilter::Vertical:
        return EdgeDirectional(image, working, mask, kVerticalEdgeKernel);
    }
    return false;
}

// Roberts and Kirsch are quick enough to run without the wait cursor.
bool ShowsWaitCursor(EdgeFilter filter) {
    return filter != EdgeFilter::Roberts && filter != EdgeFilter::Kirsch;
}

bool IsPercent(int value) {
    return value >= -100 && value <= 100;
}

} // namespace

bool RunInvertCommand(CMavDoc& doc, SelectionRecord& selection) {
    return RunImageCommand(doc, selection, false,
                           [&] { return InvertImage(doc.image(), doc.mask()); });
}

bool RunGrayscaleCommand(CMavDoc& doc, SelectionRecord& selection) {
    return RunImageCommand(doc, selection, false,
                           [&] { return GrayscaleImage(doc.image(), doc.mask()); });
}

bool RunSmoothingCommand(CMavDoc& doc, SelectionRecord& selection, SmoothingFilter filter) {
    const WaitCursor wait;
    return RunImageCommand(doc, selection, true, [&] {
        return ApplySmoothing(filter, doc.image(), doc.working(), doc.mask());
    });
}

bool RunEdgeCommand(CMavDoc& doc, SelectionRecord& selection, EdgeFilter filter) {
    std::optional<WaitCursor> wait;
    if (ShowsWaitCursor(filter))
        wait.emplace();
    return RunImageCommand(doc, selection, true, [&] {
        return ApplyEdge(filter, doc.image(), doc.working(), doc.mask());
    });
}

bool RunBrightnessContrastCommand(CMavDoc& doc, SelectionRecord& selection, int brightness,
                                  int contrast) {
    if (!IsPercent(brightness) || !IsPercent(contrast))
        return false;
    return RunImageCommand(doc, selection, true, [&] {
        const std::optional<uint32_t> mean = MeanGray(doc.working(), doc.mask());
        BrightnessContrastTables tables;
        return mean && tables.SetBrightness(brightness) &&
               ApplyContrast(tables, doc.image(), doc.working(), doc.mask(), *mean, contrast);
    });
}

bool RunColorBalanceCommand(CMavDoc& doc, SelectionRecord& selection, int cyanRed, int magentaGreen,
                            int yellowBlue) {
    if (!IsPercent(cyanRed) || !IsPercent(magentaGreen) || !IsPercent(yellowBlue))
        return false;
    return RunImageCommand(doc, selection, true, [&] {
        return ApplyColorBalance(doc.image(), doc.working(), doc.mask(), PercentToLevels(cyanRed),
                                 PercentToLevels(magentaGreen), PercentToLevels(yellowBlue));
    });
}

bool RunHueSaturationCommand(CMavDoc& doc, SelectionRecord& selection, int hue, int saturation,
                             int brightness) {
    if (hue < -180 || hue > 180 || !IsPercent(saturation) || !IsPercent(brightness))
        return false;
    return RunImageCommand(doc, selection, true, [&] {
        return ApplyHueSaturation(doc.image(), doc.working(), doc.mask(), hue,
                                  PercentToLevels(saturation), PercentToLevels(brightness));
    });
}

} // namespace halvera
