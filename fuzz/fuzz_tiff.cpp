// Reads the input as a TIFF file and converts it the way a new document does.
#include "FuzzSupport.h"
#include "image/TiffFile.h"

#include <cstdarg>
#include <tiffio.h>

using namespace halvera;

namespace {

// Pictures up to this many pixels are decoded; larger ones (up to the reader's
// 30000-pixel limit) would only measure the allocator.
constexpr uint64_t kMaxPixels = uint64_t{1} << 20;

int Silence(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// The size of the first picture, which may be named anywhere in the file, as
// libtiff reads it.
bool NamesALargePicture(const std::string& path) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, Silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Silence, nullptr);
    TIFF* tiff = TIFFOpenExt(path.c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (tiff == nullptr)
        return false;
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFClose(tiff);
    return uint64_t{width} * height > kMaxPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    const std::string& path = fuzz::WriteInputFile(data, size);
    if (NamesALargePicture(path))
        return -1; // keep it out of the corpus
    const PictureFromFile file = CTiffFile().ReadPicture(path);
    if (!file.picture)
        return 0;
    fuzz::RequireConvertible(file.picture);
    return 0;
}
