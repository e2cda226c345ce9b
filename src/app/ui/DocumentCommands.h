#pragma once

#include "view/ui/CommandMap.h"

#include <functional>
#include <string>

namespace halvera {

class CMavDoc;

// The commands an image document answers on its window's behalf: Save and
// Save As, and the questions before its window closes. Every write goes
// through CMavDoc::SaveByExtension, which writes a complete file or leaves the
// old one untouched.
class CDocumentCommands : public CommandTarget {
public:
    // The filter of the Open and Save As dialogs: every picture type first,
    // then each type on its own.
    static constexpr const char* kFileFilter =
        "All pictures(*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff)|"
        "*.bmp; *.jpg; *.jpeg; *.png; *.tif; *.tiff|"
        "BMP file(*.bmp)|*.bmp|JPEG file(*.jpg; *.jpeg)|*.jpg; *.jpeg|PNG file(*.png)|*.png|"
        "TIFF file(*.tif; *.tiff)|*.tif; *.tiff|Other files(*.*)|*.*||";

    explicit CDocumentCommands(CMavDoc& document) : document_(document) {}

    bool onCommand(int id) override;
    bool onUpdateCommand(int id, CommandState& state) override;

    // Writes the image to its file, and its measurements beside it
    // (MeasurementFiles.h); an image never saved goes through Save As. True
    // when the image was written.
    bool Save();
    // Asks for a file name ("Save a copy as") and writes a copy of the image
    // there, with its measurements beside it; the image keeps its own file
    // and title, and the status bar says so. True when the image was written.
    bool SaveAs();
    // Before a modified image closes: asks whether to save it and saves when
    // the user says Yes. True when the window may close (saved, or not
    // wanted); false on Cancel or when the save did not happen.
    bool SaveModified();
    // Everything asked before the window closes: the modified image, then its
    // measurements not yet written to a file (KeepMeasurements.h). True when
    // the window may close.
    bool CanClose();

    // Called after Save wrote the image to its own file.
    std::function<void()> onSaved;
    // Called after Save As wrote a copy to `path` (it joins the recent files).
    std::function<void(const std::string& path)> onSavedAs;

private:
    static const CommandMap<CDocumentCommands>& Commands();

    // Writes the measurements beside the picture just written to `path`
    // and says in the status bar when that failed.
    void SaveMeasurementsWith(const std::string& path);

    CMavDoc& document_;
};

// The file name part of a path, for titles ("/a/b/cells.bmp" -> "cells.bmp").
std::string FileTitle(const std::string& path);

// What the status bar says after Save As wrote a copy of `document` to
// `copyPath`: "Saved a copy as b.bmp; this window still edits a.bmp", or
// "...; this window is still untitled" for an image without a file.
std::string SavedCopyNotice(const std::string& copyPath, const CMavDoc& document);

} // namespace halvera
