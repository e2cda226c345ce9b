#pragma once

#include "image/DibImage.h"

#include <cstdint>
#include <string>

namespace halvera {

// One printed image page written as a PDF file, without a window system: the
// batch tool's printer. Lengths are millimetres from the page's top-left
// corner.
struct PdfImagePage {
    double pageWidth = 210.0;
    double pageHeight = 297.0;
    // The image stretched into this rectangle; an empty image or rectangle
    // prints none.
    CDibImage image;
    double imageLeft = 0.0, imageTop = 0.0, imageWidth = 0.0, imageHeight = 0.0;
    // The title line: Latin-1 text in Helvetica (Arial's metrics) whose em is
    // `titleSize`, its top at `titleTop`; characters outside Latin-1 print as '?'.
    std::string title;
    double titleLeft = 0.0, titleTop = 0.0, titleSize = 20.0 / 3.0;
    uint8_t titleRed = 0, titleGreen = 0, titleBlue = 0;
};

// The PDF file's bytes: one page with the image (uncompressed RGB, never
// interpolated) and the title over it.
std::string PdfImagePageBytes(const PdfImagePage& page);

// Writes the page to `path` whole or not at all; false when it cannot.
bool WritePdfImagePage(const std::string& path, const PdfImagePage& page);

} // namespace halvera
