#include "cli/CalibrateCommand.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "document/MavDoc.h"
#include "image/AppSettings.h"
#include "measure/CalFile.h"
#include "measure/CalibrationForScale.h"
#include "measure/MicrometerTicks.h"
#include "platform/UserPrompts.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace halvera {

namespace {

constexpr int kScaleDigits = 9;

struct CalibrateRequest {
    std::string picture;
    double spacing = 0.0;
    int unit = 0;
    bool x = true;
    bool y = false;
    std::optional<std::string> calFile;
};

int ParseUnit(const std::string& value) {
    for (int unit = 0; unit < kRulerUnitCount; ++unit)
        if (RulerUnitName(unit) == value)
            return unit;
    throw UsageError("--unit is one of um, mm, cm, dcm, inch, not '" + value + "'");
}

void ParseAxis(const std::string& value, CalibrateRequest& request) {
    if (value != "x" && value != "y" && value != "both")
        throw UsageError("--axis is x, y or both, not '" + value + "'");
    request.x = value != "y";
    request.y = value != "x";
}

constexpr CommandOption kCalibrateOptions[] = {
    {"--spacing"}, {"--unit"}, {"--axis"}, {"--save-cal"}};

CalibrateRequest ParseRequest(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords("calibrate", kCalibrateOptions, words);
    if (split.positional.size() != 1)
        throw UsageError("calibrate takes one picture: calibrate IMAGE --spacing REAL");
    const std::optional<std::string> spacingText = split.once("--spacing");
    if (!spacingText)
        throw UsageError("calibrate needs --spacing REAL, the real distance between ticks");
    const std::optional<double> spacing = ParseReal(*spacingText);
    if (!spacing || !(*spacing > 0.0))
        throw UsageError("--spacing needs a real spacing above 0, not '" + *spacingText + "'");
    CalibrateRequest request;
    request.picture = split.positional[0];
    request.spacing = *spacing;
    if (const std::optional<std::string> unit = split.once("--unit"))
        request.unit = ParseUnit(*unit);
    if (const std::optional<std::string> axis = split.once("--axis"))
        ParseAxis(*axis, request);
    request.calFile = split.once("--save-cal");
    return request;
}

std::string Significant(double value) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, kScaleDigits)
            .ptr;
    return std::string(text, end);
}

// The scale along one axis, or nothing after the message.
std::optional<double> ScaleAlong(CDibImage picture, TickAxis axis, double spacing) {
    const std::optional<TickPeriod> period =
        FitTickPeriod(picture, {0, 0, picture.width() - 1, picture.height - 1}, axis);
    if (!period) {
        ShowMessage(std::string("No clear period of at least 5 micrometer ticks along ") +
                        (axis == TickAxis::X ? "x" : "y") + ".",
                    MessageIcon::Stop);
        return std::nullopt;
    }
    return spacing / period->period;
}

} // namespace

int RunCalibrateCommand(const std::vector<std::string>& words) {
    const CalibrateRequest request = ParseRequest(words);
    AppSettings settings;
    CMavDoc doc(settings);
    PackedDib picture = ReadPicture(request.picture);
    if (!picture || !doc.OnOpenDocument(std::move(picture)))
        return kExitFailure;
    std::optional<double> x;
    std::optional<double> y;
    if (request.x && !(x = ScaleAlong(doc.image(), TickAxis::X, request.spacing)))
        return kExitFailure;
    if (request.y && !(y = ScaleAlong(doc.image(), TickAxis::Y, request.spacing)))
        return kExitFailure;
    if (x)
        std::printf("x scale = %s\n", Significant(*x).c_str());
    if (y)
        std::printf("y scale = %s\n", Significant(*y).c_str());
    if (!request.calFile)
        return kExitSuccess;
    const MeasureScale scale{x.value_or(*y), y.value_or(*x)};
    const std::optional<CalibrationRecord> record = CalibrationForScale(request.unit, scale);
    if (!record) {
        ShowMessage("The scale cannot be kept in a .Cal file: it must lie above 0 and at most "
                    "2000 units per pixel.",
                    MessageIcon::Stop);
        return kExitFailure;
    }
    if (!WriteCalFile(*request.calFile, *record)) {
        ShowMessage("Can not write the file " + *request.calFile + "!", MessageIcon::Stop);
        return kExitFailure;
    }
    return kExitSuccess;
}

std::string CalibrateCommandUsage() {
    return "       halvera-cli calibrate IMAGE --spacing REAL [--unit um|mm|cm|dcm|inch]\n"
           "                         [--axis x|y|both] [--save-cal FILE]\n"
           "           finds a stage micrometer's ticks (at least 5, evenly spaced) along the\n"
           "           axis (default x), fits their period and prints 'x scale = S' and/or\n"
           "           'y scale = S' in units per pixel; --save-cal writes a .Cal giving that\n"
           "           scale (one axis: the other the same)\n";
}

} // namespace halvera
