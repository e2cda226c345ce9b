#pragma once

#include "view/ui/CommandMap.h"

#include <functional>
#include <string>

namespace halvera {

class CMavDoc;

// The commands an image document answers on its window's behalf: Save and
// Save As, and the question before a modified image closes. Every write goes
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

    // Writes the image to its file; an image never saved goes through Save As.
    // True when the image was written.
    bool Save();
    // Asks for a file name and writes a copy of the image there; the image
    // keeps its own file and title. True when the image was written.
    bool SaveAs();
    // Before a modified image closes: asks whether to save it and saves when
    // the user says Yes. True when the window may close (saved, or not
    // wanted); false on Cancel or when the save did not happen.
    bool SaveModified();

    // Called after Save As wrote a copy to `path` (it joins the recent files).
    std::function<void(const std::string& path)> onSavedAs;

private:
    static const CommandMap<CDocumentCommands>& Commands();

    CMavDoc& document_;
};

// The file name part of a path, for titles ("/a/b/cells.bmp" -> "cells.bmp").
std::string FileTitle(const std::string& path);

} // namespace halvera
