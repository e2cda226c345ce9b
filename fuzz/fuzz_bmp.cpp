// Reads the input as a BMP file and converts it the way a new document does;
// reading the same bytes from memory, as the clipboard does, must agree.
#include "FuzzSupport.h"
#include "image/BmpDecoder.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"

#include <cstring>

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

// Width and height from byte 18 of the file, in the picture header: two
// 16-bit words in an OS/2 1.x header (12 bytes), else two 32-bit ones.
bool NamesALargePicture(const uint8_t* data, size_t size) {
    if (size < 26)
        return false;
    const bool core = Little32(data + 14) == 12;
    const int64_t width = core ? data[18] | data[19] << 8 : Little32(data + 18);
    const int64_t height = core ? data[20] | data[21] << 8 : Little32(data + 22);
    return width * (height < 0 ? -height : height) > kMaxPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InstallSilentPrompts();
    if (NamesALargePicture(data, size))
        return -1; // keep it out of the corpus
    const PackedDib dib = CBmpFile().ReadPackedDib(fuzz::WriteInputFile(data, size));
    // The clipboard's reader takes the same bytes from memory: it must agree.
    const BmpReading fromMemory = ReadBmpBytes(data, size);
    if (static_cast<bool>(fromMemory.picture) != static_cast<bool>(dib) ||
        (dib && (fromMemory.picture.size() != dib.size() ||
                 std::memcmp(fromMemory.picture.data(), dib.data(), dib.size()) != 0)))
        __builtin_trap();
    if (!dib)
        return 0;
    // Depths other than 1, 4, 8 and 24 are refused when a document is made.
    if (PackedDibDepth(*dib.header()) < 0)
        return 0;
    fuzz::RequireConvertible(dib);
    return 0;
}
