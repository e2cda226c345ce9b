// The batch tool's point operations, colour adjustments, smoothing and edge
// detection: each runs the menu command (or the dialog ended with OK) on the
// document, honouring the selection given with --mask.

#include "cli/CliOperation.h"
#include "document/MavDoc.h"
#include "platform/UserPrompts.h"
#include "processing/ProcessingCommands.h"

#include <array>
#include <string>

namespace halvera {

namespace {

// A document's own buffers always fit together, so this is never expected;
// but a failure is not reported as success.
bool Done(bool changed, std::string_view operation) {
    if (!changed)
        ShowMessage(std::string(operation) + ": the image could not be processed.",
                    MessageIcon::Stop);
    return changed;
}

// A slider value: the sliders start at 0, so a value left out is 0.
int Slider(const OperationArguments& arguments, std::string_view name, int limit) {
    return arguments.integer(name, -limit, limit, 0);
}

bool RunInvert(CMavDoc& doc) {
    SelectionRecord selection;
    return Done(RunInvertCommand(doc, selection), "invert");
}

bool RunGrayscale(CMavDoc& doc) {
    SelectionRecord selection;
    return Done(RunGrayscaleCommand(doc, selection), "grayscale");
}

PreparedOperation PrepareBrightnessContrast(const OperationArguments& arguments) {
    const int brightness = Slider(arguments, "brightness", 100);
    const int contrast = Slider(arguments, "contrast", 100);
    return [=](CMavDoc& doc) {
        SelectionRecord selection;
        return Done(RunBrightnessContrastCommand(doc, selection, brightness, contrast),
                    "brightness-contrast");
    };
}

PreparedOperation PrepareColorBalance(const OperationArguments& arguments) {
    const int red = Slider(arguments, "red", 100);
    const int green = Slider(arguments, "green", 100);
    const int blue = Slider(arguments, "blue", 100);
    return [=](CMavDoc& doc) {
        SelectionRecord selection;
        return Done(RunColorBalanceCommand(doc, selection, red, green, blue), "color-balance");
    };
}

PreparedOperation PrepareHueSaturation(const OperationArguments& arguments) {
    const int hue = Slider(arguments, "hue", 180);
    const int saturation = Slider(arguments, "saturation", 100);
    const int brightness = Slider(arguments, "brightness", 100);
    return [=](CMavDoc& doc) {
        SelectionRecord selection;
        return Done(RunHueSaturationCommand(doc, selection, hue, saturation, brightness),
                    "hue-saturation");
    };
}

template <SmoothingFilter Filter> bool RunSmoothing(CMavDoc& doc) {
    SelectionRecord selection;
    return Done(RunSmoothingCommand(doc, selection, Filter), "smoothing");
}

template <EdgeFilter Filter> bool RunEdge(CMavDoc& doc) {
    SelectionRecord selection;
    return Done(RunEdgeCommand(doc, selection, Filter), "edge detection");
}

constexpr std::array kOperations = {
    CliOperation{"invert", "invert", &WithoutArguments<&RunInvert>},
    CliOperation{"grayscale", "grayscale", &WithoutArguments<&RunGrayscale>},
    CliOperation{"brightness-contrast", "brightness-contrast [brightness=B] [contrast=C]",
                 &PrepareBrightnessContrast},
    CliOperation{"color-balance", "color-balance [red=R] [green=G] [blue=B]", &PrepareColorBalance},
    CliOperation{"hue-saturation", "hue-saturation [hue=H] [saturation=S] [brightness=V]",
                 &PrepareHueSaturation},
    CliOperation{"average", "average", &WithoutArguments<&RunSmoothing<SmoothingFilter::Average>>},
    CliOperation{"median", "median", &WithoutArguments<&RunSmoothing<SmoothingFilter::Median>>},
    CliOperation{"lowpass", "lowpass", &WithoutArguments<&RunSmoothing<SmoothingFilter::LowPass>>},
    CliOperation{"roberts", "roberts", &WithoutArguments<&RunEdge<EdgeFilter::Roberts>>},
    CliOperation{"sobel", "sobel", &WithoutArguments<&RunEdge<EdgeFilter::Sobel>>},
    CliOperation{"laplace", "laplace", &WithoutArguments<&RunEdge<EdgeFilter::Laplace>>},
    CliOperation{"kirsch", "kirsch", &WithoutArguments<&RunEdge<EdgeFilter::Kirsch>>},
    CliOperation{"prewitt", "prewitt", &WithoutArguments<&RunEdge<EdgeFilter::Prewitt>>},
    CliOperation{"edge-horizontal", "edge-horizontal",
                 &WithoutArguments<&RunEdge<EdgeFilter::Horizontal>>},
    CliOperation{"edge-vertical", "edge-vertical",
                 &WithoutArguments<&RunEdge<EdgeFilter::Vertical>>},
    CliOperation{"edge-upright", "edge-upright", &WithoutArguments<&RunEdge<EdgeFilter::UpRight>>},
    CliOperation{"edge-downleft", "edge-downleft",
                 &WithoutArguments<&RunEdge<EdgeFilter::DownLeft>>},
};

} // namespace

std::span<const CliOperation> ProcessingOperations() {
    return kOperations;
}

} // namespace halvera
