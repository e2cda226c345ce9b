// Reads the input as a reference file into a 24-bit image of the size its
// header names (when that is small), or of a fixed small size.
#include "FuzzSupport.h"
#include "image/BmpFile.h"

#include <cstring>

using namespace halvera;

namespace {

// Large enough for the corpus' pictures, small enough to allocate every run.
constexpr int64_t kMaxPixels = int64_t{1} << 20;

DibBlock TargetFor(const uint8_t* data, size_t size) {
    int32_t width = 8, height = 8;
    if (size >= 14 + sizeof(BitmapInfoHeader)) {
        BitmapInfoHeader header;
        std::memcpy(&header, data + 14, sizeof header);
        if (header.biWidth > 0 && header.biHeight > 0 &&
            int64_t{header.biWidth} * header.biHeight <= kMaxPixels) {
            width = header.biWidth;
            height = header.biHeight;
        }
    }
    DibBlock image;
    CreateRgb(image, width, height);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    const DibBlock image = TargetFor(data, size);
    if (image.empty())
        return 0;
    CBmpFile().ReadReference(fuzz::WriteInputFile(data, size), image.dib());
    return 0;
}
