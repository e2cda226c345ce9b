// Reads the input as a JPEG file.
#include "FuzzSupport.h"
#include "image/BitmapInfoHeader.h"
#include "image/JpegFile.h"

using namespace halvera;

namespace {

// Pictures up to this many pixels are decoded; larger ones (up to the reader's
// 30000-pixel limit) would only measure the allocator, and past the fuzzer's
// memory limit they would be reported as failures.
constexpr int64_t kMaxPixels = int64_t{1} << 20;

bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// True when any frame header in the input, wherever the decoder may find it,
// names a picture the reader would accept but that is larger than kMaxPixels.
bool NamesALargePicture(const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 9 <= size; ++i) {
        if (data[i] != 0xFF || !IsFrameMarker(data[i + 1]))
            continue;
        const int64_t height = data[i + 5] << 8 | data[i + 6];
        const int64_t width = data[i + 7] << 8 | data[i + 8];
        if (width <= kMaxDibSide && height <= kMaxDibSide && width * height > kMaxPixels)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    if (NamesALargePicture(data, size))
        return -1; // keep it out of the corpus
    CJpegFile().ReadPackedDib(fuzz::WriteInputFile(data, size));
    return 0;
}
