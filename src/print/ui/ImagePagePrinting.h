#pragma once

#include "image/DibImage.h"
#include "print/PrintLayout.h"
#include "print/ui/PrintTitle.h"

class QPrinter;

namespace halvera {

// The printable size of `printer` in millimetres, fractions kept; A4 less
// 5 mm margins, 200 x 287, when the printer reports no usable size.
struct PaperMillimetres {
    double width = 200.0;
    double height = 287.0;
};
PaperMillimetres PrintableMillimetres(const QPrinter& printer);

// Prints one page as the job "Halvera": `image` stretched into the layout's
// image rectangle scaled onto the printer's printable area, then the title,
// whose font and rectangle scale with the page. An empty image prints the
// title alone. False when the job could not start or the page failed (the
// job is then aborted).
bool PrintImagePage(QPrinter& printer, const PrintLayout& layout, const CDibImage& image,
                    PrintTitle title);

} // namespace halvera
