// Reads the input as a BMP file and converts it the way a new document does.
#include "FuzzSupport.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"

#include <cstdlib>

using namespace halvera;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    const PackedDib dib = CBmpFile().ReadPackedDib(fuzz::WriteInputFile(data, size));
    if (!dib)
        return 0;
    const BitmapInfoHeader& header = *dib.header();
    DibBlock image;
    if (PackedDibDepth(header) < 0 || !CreateRgb(image, header.biWidth, header.biHeight))
        return 0;
    // The reader only returns blocks that hold header, full palette and rows.
    if (!ConvertPackedDib(dib, image.dib()))
        std::abort();
    return 0;
}
