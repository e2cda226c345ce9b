#include "cli/MeasureResultOptions.h"

#include "cli/CliOperation.h"
#include "measure/MeasureDataItems.h"
#include "measure/OutputItemsFile.h"
#include "measure/ResultDate.h"
#include "measure/ResultExport.h"
#include "measure/ResultRows.h"
#include "measure/ToleranceFile.h"
#include "platform/UserPrompts.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace halvera {

namespace {

// The tab names the options take, in tab order.
constexpr std::string_view kTabWords[] = {"point", "line", "circle", "rectangle", "angle"};

MeasureKind ParseTab(const std::string& option, std::string_view word) {
    for (size_t tab = 0; tab < std::size(kTabWords); ++tab) {
        if (kTabWords[tab] == word)
            return static_cast<MeasureKind>(tab);
    }
    throw UsageError(option + " takes a tab: point, line, circle, rectangle or angle, not '" +
                     std::string(word) + "'");
}

ResultJudging JudgingOf(const MeasureSession& session) {
    return {session.calibration.scale(), session.tolerance, session.errorDetection};
}

bool Written(bool written, const std::string& path) {
    if (!written)
        ShowMessage("Can not write the file " + path + "!", MessageIcon::Stop);
    return written;
}

// A data file that could be read, or the message for one that could not.
bool Read(RecordRead result, const std::string& path, const char* notAFile) {
    switch (result) {
    case RecordRead::Done:
        return true;
    case RecordRead::WrongFormat:
        ShowMessage(notAFile, MessageIcon::Stop);
        return false;
    case RecordRead::CannotOpen:
        break;
    }
    ShowMessage("Can not open the file " + path + "!", MessageIcon::Stop);
    return false;
}

bool HasDataOrSays(const MeasureSession& session) {
    if (HasOutputData(session.doc.measureData()))
        return true;
    ShowMessage(kNoDataToOutput);
    return false;
}

} // namespace

std::optional<MeasureStep> PrepareLoadTolerances(const std::string& path) {
    ToleranceTable table;
    if (!Read(ReadToleranceFile(path, table), path, kCannotReadToleranceFile))
        return std::nullopt;
    return MeasureStep([table](MeasureSession& session) {
        session.tolerance = table;
        return true;
    });
}

std::optional<MeasureStep> PrepareSetTolerance(const std::string& value) {
    const std::vector<std::string_view> fields = SplitFields(value, ',');
    std::optional<int> entry;
    std::optional<double> limits[3];
    if (fields.size() == 4) {
        entry = ParseInteger(fields[0]);
        for (size_t i = 0; i < 3; ++i)
            limits[i] = ParseReal(fields[i + 1]);
    }
    if (!entry || *entry < 0 || *entry >= ToleranceTable::kEntries || !limits[0] || !limits[1] ||
        !limits[2])
        throw UsageError(
            "--tolerance takes K,STANDARD,UPPER,LOWER with K in 0..99 and finite limits, not '" +
            value + "'");
    const auto index = static_cast<size_t>(*entry);
    const ToleranceEntry limitsOfEntry{*limits[0], *limits[1], *limits[2]};
    return MeasureStep([index, limitsOfEntry](MeasureSession& session) {
        session.tolerance.entries[index] = limitsOfEntry;
        return true;
    });
}

bool SaveTolerances(MeasureSession& session, const std::string& path) {
    return Written(WriteToleranceFile(path, session.tolerance), path);
}

std::optional<MeasureStep> PrepareLoadOutputItems(const std::string& path) {
    OutputSelection selection;
    if (!Read(ReadOutputItemsFile(path, selection), path, kCannotReadItemsFile))
        return std::nullopt;
    return MeasureStep([selection](MeasureSession& session) {
        session.output = selection;
        return true;
    });
}

std::optional<MeasureStep> PrepareSelectOutputItems(const std::string& value) {
    OutputSelection selection = OutputSelection::NoItems();
    if (value != "none") {
        for (const std::string_view field : SplitFields(value, ',')) {
            const auto k = ParseInteger(field);
            if (!k || *k < 0 || *k >= kDataItemCount)
                throw UsageError("--select takes item numbers 0..32 separated by commas, or "
                                 "none, not '" +
                                 value + "'");
            selection.add(*k); // a repeated number is kept once
        }
    }
    return MeasureStep([selection](MeasureSession& session) {
        session.output = selection;
        return true;
    });
}

bool SaveOutputItems(MeasureSession& session, const std::string& path) {
    return Written(WriteOutputItemsFile(path, session.output), path);
}

std::optional<MeasureStep> PrepareDeleteResultRow(const std::string& value) {
    const std::vector<std::string_view> fields = SplitFields(value, ':');
    const auto row = fields.size() == 2 ? ParseInteger(fields[1]) : std::nullopt;
    if (!row || *row < 1)
        throw UsageError("--delete takes TAB:ROW with ROW counted from 1, not '" + value + "'");
    const MeasureKind kind = ParseTab("--delete", fields[0]);
    const int item = *row - 1;
    return MeasureStep([kind, item](MeasureSession& session) {
        // A row the tab does not have deletes nothing, as in the panel.
        session.doc.measureData().DeleteItem(kind, item);
        return true;
    });
}

std::optional<MeasureStep> PreparePrintPanelRows(const std::string& tab) {
    const MeasureKind kind = ParseTab("--panel", tab);
    return MeasureStep([kind](MeasureSession& session) {
        const MeasureData& data = session.doc.measureData();
        for (int item = 0; item < data.ItemCount(kind); ++item) {
            std::string line;
            for (const std::string& cell : ResultRowCells(data, kind, item, JudgingOf(session)))
                line += (line.empty() ? "" : "\t") + cell;
            std::printf("%s\n", line.c_str());
        }
        return true;
    });
}

bool DetectErrors(MeasureSession& session, const std::string&) {
    session.errorDetection = true;
    return true;
}

bool WriteResultReport(MeasureSession& session, const std::string& path) {
    if (!HasDataOrSays(session))
        return false;
    return Written(WriteResultFile(path, ResultReportText(
                                             session.doc.measureData(), session.calibration.scale(),
                                             session.tolerance, session.output, LocalTimeNow())),
                   path);
}

bool WriteResultSpreadsheet(MeasureSession& session, const std::string& path) {
    if (!HasDataOrSays(session))
        return false;
    return Written(WriteResultFile(
                       path, ResultCsvText(session.doc.measureData(),
                                           MeasuredOnPicture(session.picturePath, session.settings),
                                           session.tolerance, session.output)),
                   path);
}

} // namespace halvera
