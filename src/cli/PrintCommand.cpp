#include "cli/PrintCommand.h"

#include "cli/BatchTool.h"
#include "cli/CliOperation.h"
#include "cli/CommandWords.h"
#include "cli/MeasureCommand.h"
#include "cli/PresetCommands.h"
#include "document/MavDoc.h"
#include "image/PictureFiles.h"
#include "measure/CalFile.h"
#include "platform/UserPrompts.h"
#include "print/PdfImagePage.h"
#include "print/PrintLayout.h"
#include "print/PrintRatios.h"
#include "print/TitlePlacement.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace halvera {

namespace {

// The margin the batch tool's page keeps around the printable area.
constexpr double kPageMarginMm = 5.0;

struct PrintRequest {
    std::string input;
    std::string output;
    std::optional<std::string> calibration;
    std::optional<CalibrationPreset> preset;
    bool calibrationFromImage = false;
    std::optional<int> ratio; // index into PrintRatios()
    bool fit = false;
    bool center = false;
    std::string title;
    int paperWidth = 200;
    int paperHeight = 287;
};

int WholeMillimetres(std::string_view text, const std::string& value) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number <= 0 ||
        number > 100000)
        throw UsageError("--paper needs WIDTH_MM,HEIGHT_MM in whole millimetres, not '" + value +
                         "'");
    return number;
}

constexpr CommandOption kPrintOptions[] = {
    {"--calibration"}, {"--preset"},     {"--calibration-from-image", false},
    {"--ratio"},       {"--fit", false}, {"--center", false},
    {"--title"},       {"--paper"}};

PrintRequest ParsePrintRequest(const std::vector<std::string>& words) {
    const CommandWords split = SplitCommandWords("print", kPrintOptions, words);
    if (split.positional.size() != 2)
        throw UsageError("print takes IN OUT.pdf");
    PrintRequest request;
    request.input = split.positional[0];
    request.output = split.positional[1];
    if (!EndsWithIgnoringCase(request.output, ".PDF"))
        throw UsageError("the output file must end in .pdf: " + request.output);
    request.calibration = split.once("--calibration");
    if (const std::optional<std::string> preset = split.once("--preset"))
        request.preset = CalibrationPresetArgument(request.calibration, *preset);
    request.calibrationFromImage = split.has("--calibration-from-image");
    RefuseTwoCalibrations("print", request.calibration || request.preset,
                          request.calibrationFromImage);
    if (const std::optional<std::string> ratio = split.once("--ratio")) {
        request.ratio = FindPrintRatio(*ratio);
        if (!request.ratio)
            throw UsageError("--ratio must be one of the list's ratios (1:1, 2.5:1, 1:150, "
                             "...), not '" +
                             *ratio + "'");
    }
    request.fit = split.has("--fit");
    request.center = split.has("--center");
    request.title = split.once("--title").value_or("");
    if (const std::optional<std::string> paper = split.once("--paper")) {
        const size_t comma = paper->find(',');
        if (comma == std::string::npos)
            throw UsageError("--paper needs WIDTH_MM,HEIGHT_MM, not '" + *paper + "'");
        request.paperWidth = WholeMillimetres(std::string_view(*paper).substr(0, comma), *paper);
        request.paperHeight = WholeMillimetres(std::string_view(*paper).substr(comma + 1), *paper);
    }
    if (request.ratio && request.fit)
        throw UsageError("print takes --ratio or --fit, not both");
    return request;
}

// The title's line in layout units: Helvetica's ascent and descent, 1.117
// em, of an em of 20 units, rounded up.
constexpr int kTitleLineUnits = 23;

PdfImagePage PageOf(const PrintLayout& layout, const CDibImage& image, const std::string& title,
                    const LayoutRect& titleRect) {
    constexpr double kPerMm = kLayoutUnitsPerMm;
    const LayoutRect& r = layout.imageRect();
    PdfImagePage page;
    page.pageWidth = layout.paperWidth() / kPerMm + 2 * kPageMarginMm;
    page.pageHeight = layout.paperHeight() / kPerMm + 2 * kPageMarginMm;
    page.image = image;
    page.imageLeft = kPageMarginMm + r.left / kPerMm;
    page.imageTop = kPageMarginMm + r.top / kPerMm;
    page.imageWidth = r.width() / kPerMm;
    page.imageHeight = r.height() / kPerMm;
    page.title = title;
    page.titleLeft = kPageMarginMm + titleRect.left / kPerMm;
    page.titleTop = kPageMarginMm + titleRect.top / kPerMm;
    return page;
}

} // namespace

int RunPrintCommand(const std::vector<std::string>& words) {
    const PrintRequest request = ParsePrintRequest(words);
    AppSettings settings;
    RulerCalibration calibration(settings);
    if (request.calibration)
        SetCalibrationArgument(calibration, *request.calibration);
    if (request.preset)
        StoreNamedCalibration(calibration, {request.preset->record, request.preset->name});
    CMavDoc doc(settings);
    PictureFromFile file = ReadPictureFile(request.input);
    if (!file.picture)
        return kExitFailure;
    if (request.calibrationFromImage &&
        !UsePictureCalibration(calibration, request.input, file.calibration))
        return kExitFailure;
    if (!doc.OnOpenDocument(std::move(file.picture)))
        return kExitFailure;

    PrintLayout layout(doc.width(), doc.height(),
                       MillimetresPerPixelOf(settings.RulerUnit, settings.xRealRulerData,
                                             settings.yRealRulerData, settings.xPixelRulerData,
                                             settings.yPixelRulerData));
    layout.SetPaperMillimetres(request.paperWidth, request.paperHeight);
    if (request.ratio && !layout.ApplyRatio(PrintRatios()[*request.ratio].factor)) {
        ShowMessage("Print image size is larger than the paper!", MessageIcon::Warning);
        return kExitFailure;
    }
    if (request.fit)
        layout.FitDefault();
    if (request.center) {
        layout.CenterX();
        layout.CenterY();
    }
    // As in the dialog, a title stands on the line above the picture.
    const LayoutRect title =
        request.title.empty() ? LayoutRect{} : PlaceTitleAbovePicture(layout, 0, kTitleLineUnits);
    if (!WritePdfImagePage(request.output, PageOf(layout, doc.image(), request.title, title))) {
        ShowMessage("Cannot print!", MessageIcon::Stop);
        return kExitFailure;
    }
    const auto fields = layout.Fields();
    std::printf("start-x=%s start-y=%s width=%s height=%s\n", fields[0].c_str(), fields[1].c_str(),
                fields[2].c_str(), fields[3].c_str());
    return kExitSuccess;
}

std::string PrintCommandUsage() {
    return "       halvera-cli print IN OUT.pdf [--calibration UNIT,REALX,REALY,PIXELX,PIXELY |\n"
           "                  --preset NAME | --calibration-from-image]\n"
           "                  [--ratio A:B | --fit] [--center] [--title TEXT] "
           "[--paper WIDTH_MM,HEIGHT_MM]\n";
}

} // namespace halvera
