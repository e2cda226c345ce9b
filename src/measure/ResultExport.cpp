#include "measure/ResultExport.h"

#include "image/AtomicFileWriter.h"
#include "measure/MeasureDataItems.h"
#include "measure/MeasureNumber.h"
#include "measure/MeasureValues.h"
#include "measure/MeasurementFiles.h"
#include "measure/ResultDate.h"
#include "platform/UserPrompts.h"

#include <algorithm>
#include <cctype>

namespace halvera {

namespace {

// The selected items of `kind` in item number order, as offsets into its row.
std::vector<int> SelectedColumns(MeasureKind kind, const OutputSelection& selection) {
    const DataItemRange range = DataItemsOf(kind);
    std::vector<int> columns;
    for (int i = 0; i < range.count; ++i) {
        if (selection.contains(range.first + i))
            columns.push_back(i);
    }
    return columns;
}

bool IsSpreadsheetName(const std::string& path) {
    constexpr std::string_view kEnding = ".csv";
    return path.size() >= kEnding.size() &&
           std::equal(
               kEnding.begin(), kEnding.end(), path.end() - kEnding.size(),
               [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

const ToleranceEntry& EntryOf(const ToleranceTable& tolerance, MeasureKind kind, int column) {
    return tolerance.entries[static_cast<size_t>(DataItemsOf(kind).first + column)];
}

// A CSV cell: quoted, with its quotes doubled, when it holds a separator,
// a quote or a line break.
std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The leading cells of every row: what the row was measured on.
std::string MeasuredOnCells(const MeasuredOn& on) {
    const MeasureScale scale = on.scale();
    return CsvCell(on.image) + "," + std::string(RulerUnitName(on.calibration.record.unit)) + "," +
           FormatDecimals(scale.x, 6) + "," + FormatDecimals(scale.y, 6) + "," +
           CsvCell(on.calibration.preset);
}

} // namespace

MeasureScale MeasuredOn::scale() const {
    return ScaleOf(calibration.record.realX, calibration.record.realY,
                   calibration.record.pixelWidth, calibration.record.pixelHeight);
}

MeasuredOn MeasuredOnPicture(const std::string& picturePath, const AppSettings& settings) {
    return {picturePath.empty() ? std::string() : FileNameOf(picturePath),
            {{settings.RulerUnit, settings.xRealRulerData, settings.yRealRulerData,
              settings.xPixelRulerData, settings.yPixelRulerData},
             settings.RulerPreset}};
}

bool HasOutputData(const MeasureData& data) {
    for (MeasureKind kind : kAllMeasureKinds) {
        if (data.ItemCount(kind) > 0)
            return true;
    }
    return false;
}

std::string ResultReportText(const MeasureData& data, MeasureScale scale,
                             const ToleranceTable& tolerance, const OutputSelection& selection,
                             const std::tm& now) {
    std::string text = "\n" + ResultDateLine(now);
    for (MeasureKind kind : kAllMeasureKinds) {
        const int items = data.ItemCount(kind);
        if (items == 0)
            continue;
        text += "\n\n";
        const std::vector<int> columns = SelectedColumns(kind, selection);
        const int first = DataItemsOf(kind).first;
        for (int item = 0; item < items; ++item) {
            const MeasureRow row = MeasureItemRow(data, kind, item, scale);
            for (int column : columns) {
                const double value = row.values[static_cast<size_t>(column)];
                text += std::string(DataItem(first + column).report) + " = " +
                        FormatJudged(Judge(value, EntryOf(tolerance, kind, column))) + "\n";
            }
        }
    }
    return text + "\n";
}

std::string ResultCsvText(const MeasureData& data, const MeasuredOn& on,
                          const ToleranceTable& tolerance, const OutputSelection& selection) {
    const MeasureScale scale = on.scale();
    const std::string measuredOn = MeasuredOnCells(on);
    std::string text = "Image,Unit,XScale,YScale,Calibration,Kind,No";
    for (MeasureKind kind : kAllMeasureKinds) {
        for (int column : SelectedColumns(kind, selection)) {
            const std::string_view name = DataItem(DataItemsOf(kind).first + column).output;
            text += "," + std::string(name) + "," + std::string(name) + " judgement";
        }
    }
    text += "\n";
    for (MeasureKind kind : kAllMeasureKinds) {
        for (int item = 0; item < data.ItemCount(kind); ++item) {
            text +=
                measuredOn + "," + std::string(KindTabName(kind)) + "," + std::to_string(item + 1);
            const MeasureRow row = MeasureItemRow(data, kind, item, scale);
            for (MeasureKind other : kAllMeasureKinds) {
                for (int column : SelectedColumns(other, selection)) {
                    if (other != kind) {
                        text += ",,";
                        continue;
                    }
                    const JudgedValue judged = Judge(row.values[static_cast<size_t>(column)],
                                                     EntryOf(tolerance, kind, column));
                    text +=
                        "," + FormatMeasureValue(judged.value) + (judged.pass ? ",Pass" : ",Error");
                }
            }
            text += "\n";
        }
    }
    return text;
}

bool SaveResultsCommand(const MeasureData& data, const MeasuredOn& on,
                        const ToleranceTable& tolerance, const OutputSelection& selection) {
    if (!HasOutputData(data)) {
        ShowMessage(kNoDataToOutput);
        return false;
    }
    FileDialogRequest request;
    request.save = true;
    request.filter = "HLV File(*.Txt)|*.Txt|CSV (*.csv)|*.csv||";
    request.proposedName = "Result";
    request.defaultExtension = "Txt";
    request.promptOverwrite = true;
    const std::optional<std::string> path = Prompts().askFileName(request);
    if (!path)
        return false;
    const WaitCursor wait;
    return WriteResultFile(
        *path, IsSpreadsheetName(*path)
                   ? ResultCsvText(data, on, tolerance, selection)
                   : ResultReportText(data, on.scale(), tolerance, selection, LocalTimeNow()));
}

bool WriteResultFile(const std::string& path, const std::string& text) {
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(text.data(), text.size()) && writer.Commit();
}

} // namespace halvera
