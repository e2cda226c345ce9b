// Reads the input as a PNG file and converts it the way a new document does.
#include "FuzzSupport.h"
#include "image/PngFile.h"


using namespace halvera;

namespace {

// Pictures up to this many pixels are decoded; larger ones (up to the reader's
// 30000-pixel limit) would only measure the allocator.
constexpr uint64_t kMaxPixels = uint64_t{1} << 20;

uint32_t Big32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The header chunk comes first in every PNG file: its size is at bytes 16..23.
bool NamesALargePicture(const uint8_t* data, size_t size) {
    return size >= 24 && uint64_t{Big32(data + 16)} * Big32(data + 20) > kMaxPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    if (NamesALargePicture(data, size))
        return -1; // keep it out of the corpus
    const PictureFromFile file = CPngFile().ReadPicture(fuzz::WriteInputFile(data, size));
    if (!file.picture)
        return 0;
    fuzz::RequireConvertible(file.picture);
    return 0;
}
