// The batch tool's measurement graph operations: the measure command's items
// drawn into the image ("Merge") or on white ("Build graph"), with the
// default measurement colours and the calibration of --calibration.

#include "cli/CliOperation.h"
#include "cli/CliTextRasterizer.h"
#include "cli/MeasureCommand.h"
#include "document/MavDoc.h"
#include "measure/MeasureGraphCommands.h"
#include "platform/UserPrompts.h"
#include "view/TextStamp.h"

#include <optional>
#include <string>
#include <vector>

namespace halvera {

namespace {

// The labels' Arial 8 point on a 96 dpi screen.
constexpr int kLabelPixels = 11;

std::vector<std::string> ItemWords(const std::string& items) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= items.size()) {
        const size_t end = std::min(items.find(';', start), items.size());
        if (end > start)
            words.push_back(items.substr(start, end - start));
        start = end + 1;
    }
    if (words.empty())
        throw UsageError("items= needs at least one measurement item");
    return words;
}

// The label text drawn with FreeType; the reason lands in `error` when no
// font can be loaded.
GraphLabelPainter FreeTypeLabels(std::string& error) {
    return [&error](GraphSurface& surface, PixelPoint position, std::string_view label,
                    GraphColour colour) {
        TextSettings text;
        text.text = std::string(label);
        text.left = position.x;
        text.top = position.y;
        const std::optional<TextBitmap> bitmap = RasterizeText(text, kLabelPixels, error);
        if (!bitmap)
            return;
        for (int y = 0; y < bitmap->height; ++y)
            for (int x = 0; x < bitmap->width; ++x)
                if (bitmap->white[static_cast<size_t>(y) * bitmap->width + x])
                    surface.Set({bitmap->left + x, bitmap->top + y}, colour);
    };
}

// A font for the labels must load before any pixel changes.
bool LabelFontLoads() {
    TextSettings probe;
    probe.text = "(0)";
    std::string error;
    if (RasterizeText(probe, kLabelPixels, error))
        return true;
    ShowMessage("labels: " + error + ".", MessageIcon::Stop);
    return false;
}

template <bool (*Command)(CMavDoc&, SelectionRecord&, const GraphLabelPainter&)>
PreparedOperation GraphOperation(const OperationArguments& arguments) {
    const std::vector<std::string> words = ItemWords(arguments.text("items"));
    {
        MeasureData check; // malformed words are refused before any file is read
        for (const std::string& word : words)
            AppendMeasureItem(check, word);
    }
    return [words](CMavDoc& doc) {
        for (const std::string& word : words)
            AppendMeasureItem(doc.measureData(), word);
        if (!LabelFontLoads())
            return false;
        std::string error;
        SelectionRecord selection;
        return Command(doc, selection, FreeTypeLabels(error));
    };
}

const CliOperation kOperations[] = {
    {"merge-measurements", "merge-measurements items=ITEM;ITEM...",
     &GraphOperation<MergeMeasurements>},
    {"build-graph", "build-graph items=ITEM;ITEM...", &GraphOperation<BuildMeasureGraph>},
};

} // namespace

std::span<const CliOperation> MeasureGraphOperations() {
    return kOperations;
}

} // namespace halvera
