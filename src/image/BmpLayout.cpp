#include "image/BmpLayout.h"

namespace halvera {

namespace {

uint32_t FullPaletteEntries(int depth) {
    return depth <= 8 ? uint32_t{1} << depth : 0;
}

// biClrUsed when it counts 1..2^depth entries, else the full palette's count.
uint32_t DeclaredPaletteEntries(const BitmapInfoHeader& info) {
    const int depth = info.biBitCount;
    const uint64_t most = depth >= 32 ? uint64_t{UINT32_MAX} : uint64_t{1} << depth;
    if (info.biClrUsed >= 1 && info.biClrUsed <= most)
        return info.biClrUsed;
    return FullPaletteEntries(depth);
}

bool IsRunLength(BmpEncoding encoding) {
    return encoding == BmpEncoding::Rle8 || encoding == BmpEncoding::Rle4;
}

} // namespace

std::optional<BmpLayout> LocateBmpPixels(const BmpHeaders& headers, uint64_t fileSize) {
    const BitmapInfoHeader& info = headers.info;
    const uint32_t fullEntries = FullPaletteEntries(info.biBitCount);
    const bool runLength = IsRunLength(headers.encoding);
    if (runLength && info.biClrUsed > fullEntries)
        return std::nullopt;
    const uint64_t rowBytes =
        runLength
            ? 0
            : static_cast<uint64_t>(DibStride(info.biWidth, info.biBitCount)) * headers.height;

    BmpLayout layout;
    layout.paletteEntries = DeclaredPaletteEntries(info);
    const uint64_t paletteEnd =
        headers.paletteStart + uint64_t{layout.paletteEntries} * headers.paletteEntrySize;
    layout.pixelStart = headers.pixelOffset;
    if (layout.pixelStart < paletteEnd || layout.pixelStart + rowBytes > fileSize) {
        if (runLength)
            return std::nullopt;
        layout.paletteEntries = fullEntries;
        layout.pixelStart = headers.paletteStart + uint64_t{fullEntries} * headers.paletteEntrySize;
        if (layout.pixelStart + rowBytes > fileSize)
            return std::nullopt;
    }
    layout.pixelBytes = runLength ? fileSize - layout.pixelStart : rowBytes;
    layout.packedDib = headers.encoding == BmpEncoding::Plain && !headers.topDown &&
                       headers.paletteEntrySize == 4 && info.biSize >= kHeaderSize &&
                       layout.pixelStart == headers.paletteStart + uint64_t{fullEntries} * 4;
    return layout;
}

} // namespace halvera
