// Reads the input as a BMP file and converts it the way a new document does.
#include "FuzzSupport.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"


using namespace halvera;

namespace {

// A run-length encoded file may name a picture far larger than itself (its
// end code may come first). Pictures up to this many pixels are decoded;
// larger ones (up to the reader's 30000-pixel limit) would only measure the
// allocator.
constexpr int64_t kMaxPixels = int64_t{1} << 20;

int32_t Little32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                                uint32_t{p[3]} << 24);
}

// Width at byte 18 and height at byte 22 of the file, in the picture header.
bool NamesALargePicture(const uint8_t* data, size_t size) {
    if (size < 26)
        return false;
    const int64_t width = Little32(data + 18);
    const int64_t height = Little32(data + 22);
    return width * (height < 0 ? -height : height) > kMaxPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    if (NamesALargePicture(data, size))
        return -1; // keep it out of the corpus
    const PackedDib dib = CBmpFile().ReadPackedDib(fuzz::WriteInputFile(data, size));
    if (!dib)
        return 0;
    // Depths other than 1, 4, 8 and 24 are refused when a document is made.
    if (PackedDibDepth(*dib.header()) < 0)
        return 0;
    fuzz::RequireConvertible(dib);
    return 0;
}
